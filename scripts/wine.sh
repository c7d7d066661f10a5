#!/usr/bin/env bash
# Runs a Windows program under the project's private Wine prefix: Japanese
# locale (code page 932), Japanese font substitutes, a virtual desktop and a
# virtual X display when none is given.
#   scripts/wine.sh [--arch win32|win64] PROGRAM.exe [ARGS...]
#                                            run a program, return its exit code
#   scripts/wine.sh [--arch A] --prefix      only make sure the prefix exists
#   scripts/wine.sh [--arch A] --screenshot FILE.png   save the display's contents
#   scripts/wine.sh [--arch A] --hold HOLDER.exe  keep one session up (server, services,
#                                            desktop) for the programs that follow, until --stop
#   scripts/wine.sh [--arch A] --stop        end wineserver and our Xvfb
# Without --arch the tree of scripts/arch.sh is meant. Each tree has its own
# prefix (build/wine, build/wine64); the loader of that width is called
# directly, never through the wrapper that prefers the 32-bit one.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=arch.sh
. "$root/scripts/arch.sh"
if [ "${1:-}" = --arch ]; then
  arch=${2:?--arch needs win32 or win64}
  shift 2
else
  quibex_arch || { echo "wine.sh: $QUIBEX_ARCH_WHY" >&2; exit 1; }
  arch=$QUIBEX_ARCH_CHOSEN
fi
case "$arch" in
  win32) default_state=$root/build/wine ;;
  win64) default_state=$root/build/wine64 ;;
  *) echo "wine.sh: unknown tree '$arch'" >&2; exit 2 ;;
esac
state=${QUIBEX_WINE_STATE:-$default_state}
mkdir -p "$state"
loader=$(quibex_wine_loader "$arch")
server=$(quibex_wine_server) || server=/usr/lib/wine/wineserver64
export WINELOADER=$loader WINESERVER=$server

export WINEPREFIX=$state/prefix
export WINEARCH=$arch
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8
export TZ=UTC

# One Xvfb for all runs of this build, started on demand.
ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local pidfile=$state/xvfb.pid dispfile=$state/xvfb.display
  if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then
    export DISPLAY=$(cat "$dispfile")
    return 0
  fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    setsid Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 < /dev/null &
    echo $! > "$pidfile"
    echo ":$n" > "$dispfile"
    export DISPLAY=:$n
    for _ in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
  done
  echo "wine.sh: could not start Xvfb" >&2
  return 1
}

write_font_reg() {
  # regedit reads .reg files in the ANSI code page unless they are UTF-16LE
  # with a BOM; the Japanese value names need the latter.
  local reg=$state/fonts.reg
  {
    printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"ＭＳ ゴシック"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ 明朝"="IPAMincho"
"ＭＳ Ｐ明朝"="IPAPMincho"
"MS Gothic"="IPAGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"
"Tahoma"="IPAPGothic"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1280x800"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
  } > "$reg"
  echo "$reg"
}

# Wine draws caption buttons with glyphs of the Marlett symbol font; without
# it the Japanese locale falls back to a text font and shows "0 1 r".
install_marlett() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts src=/usr/share/wine/fonts/marlett.ttf
  [ -f "$fonts/marlett.ttf" ] || { [ -f "$src" ] && mkdir -p "$fonts" && cp "$src" "$fonts/"; }
}

ensure_prefix() {
  if [ -f "$WINEPREFIX/.quibex-ready" ]; then
    install_marlett
    return 0
  fi
  (
    flock 9
    [ -f "$WINEPREFIX/.quibex-ready" ] && exit 0
    rm -rf "$WINEPREFIX"
    "$loader" wineboot.exe -i >/dev/null 2>&1
    "$server" -w
    install_marlett
    "$loader" regedit.exe /S "Z:$(write_font_reg | tr / '\\')" >/dev/null 2>&1
    "$server" -w
    [ -f "$WINEPREFIX/system.reg" ] || { echo "wine.sh: making the prefix $WINEPREFIX failed" >&2; exit 1; }
    touch "$WINEPREFIX/.quibex-ready"
  ) 9>"$state/prefix.lock"
}

case "${1:-}" in
  --prefix)
    ensure_display && ensure_prefix
    ;;
  --screenshot)
    ensure_display && import -window root "${2:?file}"
    ;;
  --hold)
    # Debian's loader starts the server with no persistence: every program
    # would boot a session of its own (services, desktop) while it runs and
    # tear it down as it ends, racing the next one. A server that stays and a
    # process that holds the desktop make one session for all of them.
    holder=${2:?--hold needs the holder program}
    ensure_display && ensure_prefix || exit 1
    if [ -f "$state/holder.pid" ] && kill -0 "$(cat "$state/holder.pid")" 2>/dev/null; then exit 0; fi
    "$server" -w  # a session still ending (a --stop just before) must be gone first
    "$server" -p 2>/dev/null
    setsid "$loader" "$holder" </dev/null >/dev/null 2>&1 &
    echo $! >"$state/holder.pid"
    # Returns once the session has booted (its start-up program done, the
    # desktop up): a program started into a session still booting can hang
    # at its exit.
    for _ in $(seq 300); do
      if pgrep -f 'system32.explorer\.exe' >/dev/null && ! pgrep -f 'wineboot\.exe' >/dev/null; then break; fi
      sleep 0.1
    done
    ;;
  --stop)
    # Returns once the session and the display are gone, so that whatever
    # starts next starts clean.
    "$server" -k 2>/dev/null
    "$server" -w 2>/dev/null
    rm -f "$state/holder.pid"
    if [ -f "$state/xvfb.pid" ]; then
      xvfb=$(cat "$state/xvfb.pid")
      kill "$xvfb" 2>/dev/null
      for _ in $(seq 50); do kill -0 "$xvfb" 2>/dev/null || break; sleep 0.1; done
      rm -f "$state/xvfb.pid"
    fi
    ;;
  "")
    echo "usage: wine.sh [--arch win32|win64] PROGRAM [ARGS...] | --prefix | --screenshot FILE | --stop" >&2
    exit 2
    ;;
  *)
    ensure_display && ensure_prefix || exit 1
    exec "$loader" "$@"
    ;;
esac

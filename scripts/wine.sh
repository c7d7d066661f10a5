#!/usr/bin/env bash
# Runs a Windows program under the project's private Wine prefix: Japanese
# locale (code page 932), Japanese font substitutes, a virtual desktop and a
# virtual X display when none is given.
#   scripts/wine.sh PROGRAM.exe [ARGS...]   run a program, return its exit code
#   scripts/wine.sh --prefix                 only make sure the prefix exists
#   scripts/wine.sh --screenshot FILE.png    save the display's contents
#   scripts/wine.sh --stop                   end wineserver and our Xvfb
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
state=${QUIBEX_WINE_STATE:-$root/build/wine}
mkdir -p "$state"

export WINEPREFIX=$state/prefix
export WINEARCH=win32
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

ensure_prefix() {
  [ -f "$WINEPREFIX/.quibex-ready" ] && return 0
  (
    flock 9
    [ -f "$WINEPREFIX/.quibex-ready" ] && exit 0
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    wine regedit /S "$(winepath -w "$(write_font_reg)")" >/dev/null 2>&1
    wineserver -w
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
  --stop)
    wineserver -k 2>/dev/null
    if [ -f "$state/xvfb.pid" ]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null; rm -f "$state/xvfb.pid"; fi
    ;;
  "")
    echo "usage: wine.sh PROGRAM [ARGS...] | --prefix | --screenshot FILE | --stop" >&2
    exit 2
    ;;
  *)
    ensure_display && ensure_prefix || exit 1
    exec wine "$@"
    ;;
esac

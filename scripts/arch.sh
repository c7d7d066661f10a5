#!/usr/bin/env bash
# Decides which Windows tree the Wine tiers run, in one place for every script.
#   scripts/arch.sh            prints win32 or win64
#   scripts/arch.sh --why      prints the choice and the reason, in one line
# QUIBEX_ARCH=win32|win64 forces a choice. Otherwise win32 when this host can
# execute Wine's 32-bit loader (the shipped edition), else win64 (kernels
# built without 32-bit emulation). Exits 1 with one line on stderr when the
# chosen loader cannot run here.
# Sourced, it defines quibex_arch, quibex_wine_loader and quibex_wine_server.
WINE_LOADER32=/usr/lib/wine/wine
WINE_LOADER64=/usr/lib/wine/wine64

quibex_wine_loader() {  # ARCH
  if [ "$1" = win64 ]; then echo "$WINE_LOADER64"; else echo "$WINE_LOADER32"; fi
}

# The server binary itself: the wrapper script would pick one on its own.
quibex_wine_server() {
  local s
  for s in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver32; do
    if "$s" --version >/dev/null 2>&1; then echo "$s"; return 0; fi
  done
  return 1
}

loader_runs() { [ -x "$1" ] && "$1" --version >/dev/null 2>&1; }

# Sets QUIBEX_ARCH_CHOSEN and QUIBEX_ARCH_WHY; returns 1 when nothing runs.
quibex_arch() {
  local forced=${QUIBEX_ARCH:-}
  case "$forced" in
    win32|win64)
      QUIBEX_ARCH_CHOSEN=$forced
      if loader_runs "$(quibex_wine_loader "$forced")"; then
        QUIBEX_ARCH_WHY="chosen by QUIBEX_ARCH"
        return 0
      fi
      QUIBEX_ARCH_WHY="QUIBEX_ARCH=$forced, but $(quibex_wine_loader "$forced") does not run on this host ($(loader_problem "$(quibex_wine_loader "$forced")"))"
      return 1
      ;;
    "") ;;
    *)
      QUIBEX_ARCH_CHOSEN=
      QUIBEX_ARCH_WHY="QUIBEX_ARCH must be win32 or win64, not '$forced'"
      return 1
      ;;
  esac
  if loader_runs "$WINE_LOADER32"; then
    QUIBEX_ARCH_CHOSEN=win32
    QUIBEX_ARCH_WHY="this host runs 32-bit programs"
    return 0
  fi
  if loader_runs "$WINE_LOADER64"; then
    QUIBEX_ARCH_CHOSEN=win64
    QUIBEX_ARCH_WHY="this host cannot run Wine's 32-bit loader ($(loader_problem "$WINE_LOADER32"))"
    return 0
  fi
  QUIBEX_ARCH_CHOSEN=
  QUIBEX_ARCH_WHY="no Wine loader runs on this host: $WINE_LOADER32 ($(loader_problem "$WINE_LOADER32")), $WINE_LOADER64 ($(loader_problem "$WINE_LOADER64")); run 'make deps' (packages wine, wine32:i386, wine64)"
  return 1
}

loader_problem() {
  if [ ! -e "$1" ]; then
    # scripts/deps.sh leaves the 32-bit loader out where the kernel refuses 32-bit programs.
    local probe=
    [ "$1" = "$WINE_LOADER32" ] && probe=$(bash "$(dirname "${BASH_SOURCE[0]}")/deps.sh" --probe 2>/dev/null)
    case $probe in
      "no ("*) probe=${probe#no (}; echo "not installed: ${probe%)}" ;;
      *) echo "not installed" ;;
    esac
    return
  fi
  local out
  out=$("$1" --version 2>&1 >/dev/null | head -n 1)
  if [ -z "$out" ] && [ -e /lib/ld-linux.so.2 ] && ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    out="the kernel refuses 32-bit programs"
  fi
  echo "${out:-fails to start}"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  if quibex_arch; then
    if [ "${1:-}" = --why ]; then echo "$QUIBEX_ARCH_CHOSEN ($QUIBEX_ARCH_WHY)"; else echo "$QUIBEX_ARCH_CHOSEN"; fi
    exit 0
  fi
  echo "$QUIBEX_ARCH_WHY" >&2
  exit 1
fi

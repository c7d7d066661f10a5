#!/usr/bin/env bash
# scripts/deps.sh against stand-in apt-get, dpkg and dpkg-query on PATH: which
# packages it installs for which host, and how it rides out package lists and
# packages that fail. No network, nothing installed.
#   tests/scripts/deps_test.sh [REPO]
set -uo pipefail
repo=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
deps=$repo/scripts/deps.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

# The stand-ins keep their state in $FAKE_STATE: installed packages, foreign
# architectures, the number of list refreshes.
mkdir -p "$tmp/bin"
cat >"$tmp/bin/apt-get" <<'FAKE'
#!/usr/bin/env bash
s=$FAKE_STATE
echo "apt-get $*" >>"$s/calls"
case " $* " in
  *" update "*)
    n=$(($(cat "$s/updates" 2>/dev/null || echo 0) + 1)); echo "$n" >"$s/updates"
    if [ "$n" -le "${FAKE_UPDATE_FAILS:-0}" ]; then
      echo "E: Failed to fetch http://mirror/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?" >&2
      exit 100
    fi ;;
  *" source "*) ;;
  *" install "*)
    pkgs=(); for a in "$@"; do case $a in -* | install) ;; *) pkgs+=("$a") ;; esac; done
    for p in "${pkgs[@]}"; do
      if [[ " ${FAKE_BROKEN:-} " == *" $p "* ]]; then echo "E: Unable to satisfy dependencies of $p" >&2; exit 100; fi
    done
    printf '%s\n' "${pkgs[@]}" >>"$s/installed" ;;
esac
FAKE
cat >"$tmp/bin/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
grep -qxF -- "${!#}" "$FAKE_STATE/installed" 2>/dev/null || exit 1
echo "install ok installed"
FAKE
cat >"$tmp/bin/dpkg" <<'FAKE'
#!/usr/bin/env bash
case $1 in
  --print-foreign-architectures) cat "$FAKE_STATE/arches" 2>/dev/null ;;
  --add-architecture) echo "$2" >>"$FAKE_STATE/arches" ;;
esac
FAKE
printf '#!/bin/sh\necho ja_JP.utf8\n' >"$tmp/bin/locale"
printf '#!/bin/sh\nexec "$@"\n' >"$tmp/bin/sudo"
chmod +x "$tmp/bin"/*

# run NAME [VAR=VALUE...]: deps.sh in a fresh state; sets out, rc, state.
run() {
  local name=$1; shift
  state=$tmp/$name; mkdir -p "$state"; : >"$state/installed"
  [ -n "${PREINSTALLED:-}" ] && printf '%s\n' $PREINSTALLED >"$state/installed"
  out=$(env PATH="$tmp/bin:$PATH" FAKE_STATE="$state" QUIBEX_APT_PAUSE=0 QUIBEX_APT_TRIES=3 "$@" bash "$deps" 2>&1)
  rc=$?
}
check() {  # CASE DESCRIPTION COMMAND...
  local name=$1 what=$2; shift 2
  if ! "$@"; then
    echo "FAIL [$name] $what"; printf '    %s\n' "$out"; failures=$((failures + 1))
  fi
}
said() { grep -qF -- "$1" <<<"$out"; }
installed() { grep -qxF -- "$1" "$state/installed"; }
has_i386() { grep -qx i386 "$state/arches" 2>/dev/null; }
updates() { [ "$(cat "$state/updates" 2>/dev/null || echo 0)" -eq "$1" ]; }

run host64 QUIBEX_HOST_32BIT=no
check host64 "ends ready" [ "$rc" -eq 0 ]
check host64 "one line says what was decided" said "deps: this host cannot run 32-bit programs (set by QUIBEX_HOST_32BIT)"
check host64 "64-bit loader and compilers installed" installed wine64
check host64 "MinGW installed" installed g++-mingw-w64-i686-posix
check host64 "no 32-bit loader" eval '! installed wine32:i386'
check host64 "no i386 lists" eval '! has_i386'

run host32 QUIBEX_HOST_32BIT=yes
check host32 "ends ready" [ "$rc" -eq 0 ]
check host32 "decision line" said "deps: this host runs 32-bit programs"
check host32 "32-bit loader installed" installed wine32:i386
check host32 "i386 architecture added" has_i386

run update-fails-once QUIBEX_HOST_32BIT=no FAKE_UPDATE_FAILS=1
check update-fails-once "ends ready" [ "$rc" -eq 0 ]
check update-fails-once "lists refreshed on the second try" updates 2
check update-fails-once "no warning once the retry worked" eval '! said "could not be refreshed"'
check update-fails-once "packages installed" installed cmake

run update-always-fails QUIBEX_HOST_32BIT=no FAKE_UPDATE_FAILS=99
check update-always-fails "ends ready" [ "$rc" -eq 0 ]
check update-always-fails "tried three times" updates 3
check update-always-fails "says it goes on" said "could not be refreshed after 3 tries (E: Failed to fetch"
check update-always-fails "says it goes on" said "going on with the lists at hand"
check update-always-fails "packages installed from the lists at hand" installed wine64

run loader32-unavailable QUIBEX_HOST_32BIT=yes FAKE_BROKEN=wine32:i386
check loader32-unavailable "ends ready" [ "$rc" -eq 0 ]
check loader32-unavailable "says the 64-bit tree will run" said "could not be installed; this host will use the 64-bit tree"
check loader32-unavailable "the rest installed" installed wine64
check loader32-unavailable "the rest installed" installed xvfb

run needed-package-missing QUIBEX_HOST_32BIT=no FAKE_BROKEN=libzstd-dev
check needed-package-missing "fails" [ "$rc" -ne 0 ]
check needed-package-missing "names the package" said "deps: cannot install libzstd-dev, which the build needs (E: Unable to satisfy dependencies of libzstd-dev)"
check needed-package-missing "installs every other" installed cmake
check needed-package-missing "no ready line" eval '! said "deps: ready"'

PREINSTALLED=$(sed -n '/^required=(/,/^)/p' "$deps" | sed '1d;$d') run nothing-missing QUIBEX_HOST_32BIT=no
check nothing-missing "ends ready" [ "$rc" -eq 0 ]
check nothing-missing "asks apt nothing" eval '! grep -qE "apt-get (update|install)" "$state/calls"'

# The real probe: its verdict matches whether the kernel runs 32-bit programs.
probe=$(bash "$deps" --probe)
case $probe in
  "yes ("* | "no ("*) ;;
  *) echo "FAIL [probe] says '$probe'"; failures=$((failures + 1)) ;;
esac
if [ -e /lib/ld-linux.so.2 ]; then
  if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then want=yes; else want=no; fi
  [ "${probe%% *}" = "$want" ] || { echo "FAIL [probe] says '$probe', the 32-bit loader says $want"; failures=$((failures + 1)); }
fi

if [ "$failures" -eq 0 ]; then echo "deps.sh: every case passed"; fi
exit $((failures > 0))

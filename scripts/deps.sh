#!/usr/bin/env bash
# Installs every package the build, the tests and the benchmarks need, from
# nothing; does nothing when everything is there.
#   scripts/deps.sh           decide what this host can use, then install it
#   scripts/deps.sh --probe   only say whether this host runs 32-bit programs
# First it decides whether the kernel runs 32-bit programs (by running a tiny
# one that it writes itself): only then is Wine's 32-bit loader worth
# installing, and it is optional even there (scripts/arch.sh falls back to the
# 64-bit tree). Package lists that fail to refresh are retried, then the
# install goes on with the lists at hand; the script fails only when a package
# the build needs cannot be installed, and names it.
# QUIBEX_HOST_32BIT=yes|no skips the probe.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=apt.sh
. "$here/apt.sh"

say() { echo "deps: $*"; }

required=(
  cmake make g++ clang
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev zlib1g-dev
  libbz2-dev liblzma-dev libzstd-dev libdeflate-dev libarchive-dev dpkg-dev
  googletest
  wine wine64 xvfb x11-utils imagemagick
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-wine locales
  lhasa jlha-utils zip unzip 7zip gcab cabextract libarchive-tools
  time
)
# Only where the kernel runs 32-bit programs; without it the 64-bit tree runs.
optional_32bit=(wine32:i386)

# A 96-byte i386 ELF program whose whole code is exit(42): if the kernel runs
# it, it runs 32-bit programs. Written here because before the install no
# 32-bit program may exist on the host.
write_probe() {  # FILE
  local hdr='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  hdr+='\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
  hdr+='\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
  local phdr='\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
  phdr+='\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
  local code='\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'  # mov eax,1; mov ebx,42; int 0x80
  printf "$hdr$phdr$code" >"$1" && chmod +x "$1"
}

# Sets HOST_32BIT (yes/no) and HOST_32BIT_WHY.
decide_32bit() {
  case "${QUIBEX_HOST_32BIT:-}" in
    yes | no) HOST_32BIT=$QUIBEX_HOST_32BIT; HOST_32BIT_WHY="set by QUIBEX_HOST_32BIT"; return ;;
  esac
  case "$(uname -m)" in
    x86_64 | i?86) ;;
    *) HOST_32BIT=no; HOST_32BIT_WHY="$(uname -m) is not an x86 host"; return ;;
  esac
  local dir out rc
  for dir in "${TMPDIR:-/tmp}" "$here/../build"; do
    mkdir -p "$dir" 2>/dev/null || continue
    local probe
    probe=$(mktemp "$dir/quibex-probe32.XXXXXX" 2>/dev/null) || continue
    write_probe "$probe"
    out=$("$probe" 2>&1); rc=$?
    rm -f "$probe"
    if [ "$rc" -eq 42 ]; then
      HOST_32BIT=yes; HOST_32BIT_WHY="a 32-bit test program ran"; return
    fi
    if printf '%s' "$out" | grep -q 'Exec format error'; then
      HOST_32BIT=no; HOST_32BIT_WHY="the kernel refuses 32-bit programs: Exec format error"; return
    fi
    # Anything else (a folder mounted noexec, say) tells nothing: next folder.
  done
  if grep -qs 'ia32_emulation=0' /proc/cmdline; then
    HOST_32BIT=no; HOST_32BIT_WHY="the kernel was started with ia32_emulation=0"; return
  fi
  HOST_32BIT=yes; HOST_32BIT_WHY="the test program could not be run here; assuming the kernel's default"
}

missing_of() {  # PACKAGE... -> prints those not installed
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || echo "$p"
  done
}

apt_install() {  # PACKAGE...
  apt_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@"
}

# Installs the packages the build needs; on failure finds and names the ones
# that cannot be had, after installing every other.
install_required() {  # PACKAGE...
  apt_retry apt_install "$@" 2>/dev/null && return 0
  local p bad=() why=
  for p in $(missing_of "$@"); do
    local out
    if ! out=$(apt_install "$p" 2>&1); then
      bad+=("$p")
      [ -n "$why" ] || why=$(printf '%s\n' "$out" | grep -m1 '^E:' | cut -c1-200)
    fi
  done
  [ ${#bad[@]} -eq 0 ] && return 0
  say "cannot install ${bad[*]}, which the build needs${why:+ ($why)}"
  return 1
}

install_packages() {
  local need=() optional=()
  mapfile -t need < <(missing_of "${required[@]}")
  [ "$HOST_32BIT" = yes ] && mapfile -t optional < <(missing_of "${optional_32bit[@]}")
  [ ${#need[@]} -eq 0 ] && [ ${#optional[@]} -eq 0 ] && return 0
  say "installing ${need[*]} ${optional[*]}"
  if [ ${#optional[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    apt_as_root dpkg --add-architecture i386
  fi
  apt_update_lists
  if [ ${#need[@]} -gt 0 ]; then install_required "${need[@]}" || return 1; fi
  if [ ${#optional[@]} -gt 0 ] && ! apt_retry apt_install "${optional[@]}" 2>/dev/null; then
    say "the 32-bit Wine loader (${optional[*]}) could not be installed; this host will use the 64-bit tree"
  fi
  return 0
}

# scripts/win-libs.sh builds the Windows trees' compression libraries from
# Debian's source packages; apt-get source needs deb-src entries.
add_source_entries() {
  apt-get source --print-uris bzip2 >/dev/null 2>&1 && return 0
  say "adding Debian source entries"
  local codename
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  apt_as_root tee "${QUIBEX_APT_SOURCES_DIR:-/etc/apt/sources.list.d}/quibex-sources.sources" >/dev/null <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: $codename-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  apt_update_lists
}

# Wine needs the Japanese locale so that its ANSI code page is 932.
add_japanese_locale() {
  locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' && return 0
  say "generating ja_JP.UTF-8"
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | apt_as_root tee -a /etc/locale.gen >/dev/null
  fi
  apt_as_root locale-gen >/dev/null
}

decide_32bit
if [ "${1:-}" = --probe ]; then
  echo "$HOST_32BIT ($HOST_32BIT_WHY)"
  exit 0
fi
if [ "$HOST_32BIT" = yes ]; then
  say "this host runs 32-bit programs ($HOST_32BIT_WHY): the 32-bit Wine loader is installed too"
else
  say "this host cannot run 32-bit programs ($HOST_32BIT_WHY): only the 64-bit Wine loader is installed"
fi
install_packages || exit 1
add_source_entries
add_japanese_locale || { say "could not generate the ja_JP.UTF-8 locale"; exit 1; }
say "ready"

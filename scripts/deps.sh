#!/usr/bin/env bash
# Installs every package the build, the tests and the benchmarks need.
# Idempotent: does nothing when everything is already there.
set -euo pipefail

packages=(
  cmake make g++ clang
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev zlib1g-dev
  libbz2-dev liblzma-dev libzstd-dev libdeflate-dev dpkg-dev
  googletest
  wine wine32:i386 wine64 xvfb x11-utils imagemagick
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-wine locales
  lhasa jlha-utils zip unzip 7zip gcab cabextract libarchive-tools
  time
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$p")
  fi
done

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#missing[@]} -gt 0 ]; then
  echo "deps: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# scripts/win-libs.sh builds the Windows trees' compression libraries from
# Debian's source packages; apt-get source needs deb-src entries.
if ! apt-get source --print-uris bzip2 >/dev/null 2>&1; then
  echo "deps: adding Debian source entries"
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  as_root tee /etc/apt/sources.list.d/quibex-sources.sources >/dev/null <<SOURCES
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
  as_root apt-get update -qq
fi

# Wine needs the Japanese locale so that its ANSI code page is 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "deps: generating ja_JP.UTF-8"
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen >/dev/null
fi
echo "deps: ready"

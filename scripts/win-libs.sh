#!/usr/bin/env bash
# Cross-builds the compression libraries the Windows trees link statically
# (libbz2, liblzma, libzstd, libdeflate, and libarchive over them for the 7z
# and RAR readers) from Debian's source packages with the MinGW toolchain of
# the tree.
#   scripts/win-libs.sh BUILD_DIR win32|win64
# Sources: BUILD_DIR/deps/src/<package>_<version>/ (fetched once with apt-get
# source; scripts/deps.sh adds the deb-src entries). Result:
# BUILD_DIR/deps/<arch>/{include,lib}. A library is rebuilt only when its
# pinned version below changes; only the static libraries are built.
# Progress goes to stderr; CMake runs this when it configures a Windows tree.
set -euo pipefail

# The versions these builds were made and tested with.
BZIP2_VERSION=1.0.8-5
XZ_VERSION=5.4.1-1+deb12u2
ZSTD_VERSION=1.5.4+dfsg2-5  # the +deb12u1 security source is not served by the mirror here
DEFLATE_VERSION=1.14-1
ARCHIVE_VERSION=3.6.2-1+deb12u5

build=$(realpath -m "${1:?build folder}")
arch=${2:?win32 or win64}
case $arch in
  win32) host=i686-w64-mingw32; toolchain=mingw-i686.cmake ;;
  win64) host=x86_64-w64-mingw32; toolchain=mingw-x86_64.cmake ;;
  *) echo "win-libs: unknown tree '$arch'" >&2; exit 2 ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
src_root=$build/deps/src
prefix=$build/deps/$arch
work=$build/deps/work-$arch
CC=$host-gcc-posix
AR=$host-ar
CFLAGS="-O2 -DNDEBUG"
jobs=${JOBS:-2}

log() { echo "win-libs[$arch]: $*" >&2; }
say() { log "$@"; }
# shellcheck source=apt.sh
. "$root/scripts/apt.sh"

# Unpacked source of PACKAGE=VERSION; prints its folder.
fetch() {  # package version
  local dir=$src_root/${1}_$2
  if [ ! -f "$dir/.unpacked" ]; then
    log "fetching Debian source $1 $2"
    rm -rf "$dir" "$src_root/dl-$1"
    mkdir -p "$src_root/dl-$1"
    # A point release replaces the pinned source on the mirror: then take the
    # version Debian serves now, say so, and build that. A mirror in mid-sync
    # fails a download now and then: each is tried a few times.
    if ! (cd "$src_root/dl-$1" && apt_retry apt-get source --download-only -qq "$1=$2" 2>/dev/null); then
      log "the pinned source $1 $2 is not served; taking the current one (move the pin to it)"
      (cd "$src_root/dl-$1" && apt_retry apt-get source --download-only -qq "$1") || {
        echo "win-libs: 'apt-get source $1' failed: run scripts/deps.sh (it adds deb-src entries)" >&2
        exit 1
      }
    fi
    dpkg-source --no-check -x "$src_root/dl-$1"/*.dsc "$dir" >/dev/null
    rm -rf "$src_root/dl-$1"
    touch "$dir/.unpacked"
  fi
  echo "$dir"
}

# True when LIB is already built at VERSION.
fresh() { [ "$(cat "$prefix/stamp-$1" 2>/dev/null)" = "$2" ]; }
done_with() { echo "$2" >"$prefix/stamp-$1"; }

mkdir -p "$prefix/include" "$prefix/lib" "$work"

if ! fresh bzip2 "$BZIP2_VERSION"; then
  s=$(fetch bzip2 "$BZIP2_VERSION")
  log "building libbz2"
  rm -rf "$work/bzip2" && mkdir -p "$work/bzip2"
  for f in blocksort huffman crctable randtable compress decompress bzlib; do
    $CC $CFLAGS -D_FILE_OFFSET_BITS=64 -c "$s/$f.c" -o "$work/bzip2/$f.o"
  done
  rm -f "$prefix/lib/libbz2.a"
  $AR rcs "$prefix/lib/libbz2.a" "$work/bzip2"/*.o
  cp "$s/bzlib.h" "$prefix/include/"
  done_with bzip2 "$BZIP2_VERSION"
fi

cmake_lib() {  # source-dir build-dir target [cmake options...]
  local s=$1 b=$2 target=$3
  shift 3
  cmake -S "$s" -B "$b" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
  cmake --build "$b" -j "$jobs" --target "$target" >/dev/null
}

if ! fresh xz "$XZ_VERSION"; then
  s=$(fetch xz-utils "$XZ_VERSION")
  log "building liblzma"
  rm -rf "$work/xz"
  cmake_lib "$s" "$work/xz" liblzma
  cp "$work/xz/liblzma.a" "$prefix/lib/"
  rm -rf "$prefix/include/lzma" && cp -r "$s/src/liblzma/api/lzma.h" "$s/src/liblzma/api/lzma" "$prefix/include/"
  done_with xz "$XZ_VERSION"
fi

if ! fresh zstd "$ZSTD_VERSION"; then
  s=$(fetch libzstd "$ZSTD_VERSION")
  log "building libzstd"
  rm -rf "$work/zstd"
  cmake_lib "$s/build/cmake" "$work/zstd" libzstd_static -DZSTD_BUILD_SHARED=OFF -DZSTD_BUILD_STATIC=ON \
    -DZSTD_BUILD_PROGRAMS=OFF -DZSTD_BUILD_TESTS=OFF -DZSTD_LEGACY_SUPPORT=OFF -DZSTD_MULTITHREAD_SUPPORT=OFF
  cp "$work/zstd/lib/libzstd.a" "$prefix/lib/"
  cp "$s/lib/zstd.h" "$s/lib/zstd_errors.h" "$s/lib/zdict.h" "$prefix/include/"
  done_with zstd "$ZSTD_VERSION"
fi

if ! fresh deflate "$DEFLATE_VERSION"; then
  s=$(fetch libdeflate "$DEFLATE_VERSION")
  log "building libdeflate"
  rm -rf "$work/deflate" && cp -r "$s" "$work/deflate"
  make -C "$work/deflate" -j "$jobs" CC="$CC" AR="$AR" CFLAGS="$CFLAGS" STATIC_LIB_SUFFIX=.a libdeflate.a >/dev/null
  cp "$work/deflate/libdeflate.a" "$prefix/lib/"
  cp "$s/libdeflate.h" "$prefix/include/"
  done_with deflate "$DEFLATE_VERSION"
fi

# libarchive for reading only, over the libraries above and MinGW's zlib. No
# crypto, XML, ACL, xattr or iconv: encrypted 7z and RAR members are refused
# anyway, and on Windows libarchive converts names through its own wide-char
# code, not iconv. MinGW's zlib is a plain static build: its calling-convention
# probe would have to run a Windows program, so the answer is given.
if ! fresh libarchive "$ARCHIVE_VERSION"; then
  s=$(fetch libarchive "$ARCHIVE_VERSION")
  log "building libarchive"
  rm -rf "$work/libarchive"
  cmake_lib "$s" "$work/libarchive" archive_static \
    -DENABLE_TAR=OFF -DENABLE_CPIO=OFF -DENABLE_CAT=OFF -DENABLE_TEST=OFF -DENABLE_INSTALL=OFF \
    -DENABLE_OPENSSL=OFF -DENABLE_MBEDTLS=OFF -DENABLE_NETTLE=OFF -DENABLE_CNG=OFF \
    -DENABLE_LIBXML2=OFF -DENABLE_EXPAT=OFF -DENABLE_ACL=OFF -DENABLE_XATTR=OFF -DENABLE_ICONV=OFF \
    -DENABLE_LIBB2=OFF -DENABLE_LZ4=OFF -DENABLE_LZO=OFF -DENABLE_PCREPOSIX=OFF -DENABLE_PCRE2POSIX=OFF \
    -DENABLE_WERROR=OFF \
    -DZLIB_LIBRARY="/usr/$host/lib/libz.a" -DZLIB_WINAPI_WITH_LIB="/usr/$host/lib/libz.a" -DZLIB_WINAPI=0 \
    -DENABLE_ZLIB=ON -DENABLE_BZip2=ON -DENABLE_LZMA=ON -DENABLE_ZSTD=ON \
    -DBZIP2_INCLUDE_DIR="$prefix/include" -DBZIP2_LIBRARIES="$prefix/lib/libbz2.a" \
    -DLIBLZMA_INCLUDE_DIR="$prefix/include" -DLIBLZMA_LIBRARY="$prefix/lib/liblzma.a" \
    -DZSTD_INCLUDE_DIR="$prefix/include" -DZSTD_LIBRARY="$prefix/lib/libzstd.a" \
    -DCMAKE_C_FLAGS="-DLZMA_API_STATIC"
  cp "$work/libarchive/libarchive/libarchive.a" "$prefix/lib/libarchive.a" 2>/dev/null ||
    cp "$work/libarchive/libarchive/libarchive_static.a" "$prefix/lib/libarchive.a"
  # Under libarchive/: the engine has an archive.h of its own.
  mkdir -p "$prefix/include/libarchive"
  cp "$s/libarchive/archive.h" "$s/libarchive/archive_entry.h" "$prefix/include/libarchive/"
  done_with libarchive "$ARCHIVE_VERSION"
fi

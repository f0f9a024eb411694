#!/usr/bin/env bash
# Installs everything the builds, tests and demo need on Debian 12, as root.
# Idempotent: when every package and the minizip, libdeflate and zstd sources are present it
# returns at once.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(dirname "$here")

packages=(
    build-essential cmake ninja-build pkg-config python3
    zlib1g-dev libminizip-dev libdeflate-dev libzstd-dev googletest libgtest-dev
    g++-mingw-w64-x86-64 libz-mingw-w64-dev
    clang-14 libclang-rt-14-dev
    wine64 xvfb xauth imagemagick
    dpkg-dev lintian
    zip unzip zstd nsis hyperfine time
    icoutils osslsigncode openssl liblnk-utils locales fonts-ipafont-gothic
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

minizip_dir="$top/third_party/minizip-src"
libdeflate_dir="$top/third_party/libdeflate-src"
zstd_dir="$top/third_party/zstd-src"
need_update=0
need_sources=0
if [ ! -f "$minizip_dir/zip.c" ] || [ ! -f "$libdeflate_dir/libdeflate.h" ] ||
   [ ! -f "$zstd_dir/lib/zstd.h" ]; then
    need_sources=1
fi
if [ ${#missing[@]} -gt 0 ] || [ $need_sources -eq 1 ]; then
    need_update=1
fi

# The minizip, libdeflate and zstd sources come from Debian's source archive, through deb-src entries
# for the same mirrors and suites as the system's own Debian entries (written only when they
# change).
if [ $need_sources -eq 1 ]; then
    srcfile=/etc/apt/sources.list.d/quillset-src.sources
    system_sources=()
    for f in /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list; do
        [ -f "$f" ] && system_sources+=("$f")
    done
    entries=""
    if [ ${#system_sources[@]} -gt 0 ]; then
        entries=$(awk -f "$here/deb-src-entries.awk" "${system_sources[@]}")
    fi
    if [ -z "$entries" ]; then
        rm -f "$srcfile"  # the system offers the sources itself, or names no archive at all
    elif [ ! -f "$srcfile" ] || [ "$(cat "$srcfile")" != "$entries" ]; then
        printf '%s\n' "$entries" > "$srcfile"
    fi
fi

if [ $need_update -eq 1 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Unpacks Debian's source package $1 into the new folder $2/src: through dpkg-source, or, when
# that cannot run, from the upstream tarball (whose one folder need not carry the package's name).
unpack_source() {
    (cd "$2" && apt-get source -qq --download-only "$1" >/dev/null 2>&1 &&
        dpkg-source -x --skip-patches "$1"_*.dsc src >/dev/null 2>&1 || true)
    [ -d "$2/src" ] || (cd "$2" && tar xf "$1"_*.orig.tar.* && mv ./*/ src)
}

# minizip (for both builds) is compiled from the contrib sources of Debian's zlib source package.
if [ ! -f "$minizip_dir/zip.c" ]; then
    tmp=$(mktemp -d)
    unpack_source zlib "$tmp"
    mkdir -p "$minizip_dir"
    for f in zip.c zip.h unzip.c unzip.h ioapi.c ioapi.h iowin32.c iowin32.h crypt.h; do
        cp "$tmp/src/contrib/minizip/$f" "$minizip_dir/"
    done
    rm -rf "$tmp"
    echo "minizip sources ready in $minizip_dir"
fi

# libdeflate for mingw is compiled from Debian's libdeflate source package, like minizip.
if [ ! -f "$libdeflate_dir/libdeflate.h" ] ||
   [ ! -f "$zstd_dir/lib/zstd.h" ]; then
    tmp=$(mktemp -d)
    unpack_source libdeflate "$tmp"
    mkdir -p "$libdeflate_dir"
    cp -r "$tmp/src/libdeflate.h" "$tmp/src/common_defs.h" "$tmp/src/lib" "$tmp/src/COPYING" "$libdeflate_dir/"
    rm -rf "$tmp"
    echo "libdeflate sources ready in $libdeflate_dir"
fi

# The names test runs Wine once in a Western and once in a Japanese locale, which Wine takes
# from the process's environment: both must exist on the system.
for name in de_DE ja_JP; do
    locale -a | grep -qx "$name.utf8" || localedef -i "$name" -f UTF-8 "$name.UTF-8"
done
# zstd for mingw is compiled from the library sources of Debian's libzstd source package.
if [ ! -f "$zstd_dir/lib/zstd.h" ]; then
    tmp=$(mktemp -d)
    unpack_source libzstd "$tmp"
    mkdir -p "$zstd_dir/lib"
    cp -r "$tmp/src/lib/zstd.h" "$tmp/src/lib/zdict.h" "$tmp/src/lib/zstd_errors.h" "$tmp/src/lib/common" \
        "$tmp/src/lib/compress" "$tmp/src/lib/decompress" "$tmp/src/lib/dictBuilder" "$zstd_dir/lib/"
    cp "$tmp/src/LICENSE" "$zstd_dir/"
    rm -rf "$tmp"
    echo "zstd sources ready in $zstd_dir"
fi

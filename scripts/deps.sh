#!/usr/bin/env bash
# Installs everything the builds, tests and demo need on Debian 12, as root.
# Idempotent: when every package and the minizip sources are present it returns at once.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(dirname "$here")

packages=(
    build-essential cmake ninja-build pkg-config python3
    zlib1g-dev libminizip-dev googletest libgtest-dev
    g++-mingw-w64-x86-64 libz-mingw-w64-dev
    wine64 xvfb xauth imagemagick
    dpkg-dev
    zip nsis hyperfine
    icoutils osslsigncode openssl
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

minizip_dir="$top/third_party/minizip-src"
need_update=0
if [ ${#missing[@]} -gt 0 ] || [ ! -f "$minizip_dir/zip.c" ]; then
    need_update=1
fi

# The minizip sources come from Debian's source archive, through deb-src entries for the same
# mirrors and suites as the system's own Debian entries (written only when they change).
if [ ! -f "$minizip_dir/zip.c" ]; then
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

# minizip for mingw is compiled from the contrib sources of Debian's zlib source package.
if [ ! -f "$minizip_dir/zip.c" ]; then
    tmp=$(mktemp -d)
    (cd "$tmp" && apt-get source -qq --download-only zlib >/dev/null 2>&1 && dpkg-source -x --skip-patches zlib_*.dsc src >/dev/null 2>&1 || true)
    if [ ! -f "$tmp/src/contrib/minizip/zip.c" ]; then
        (cd "$tmp" && rm -rf src && tar xf zlib_*.orig.tar.* && mv zlib-*/ src)
    fi
    mkdir -p "$minizip_dir"
    for f in zip.c zip.h unzip.c unzip.h ioapi.c ioapi.h iowin32.c iowin32.h crypt.h; do
        cp "$tmp/src/contrib/minizip/$f" "$minizip_dir/"
    done
    rm -rf "$tmp"
    echo "minizip sources ready in $minizip_dir"
fi

#!/usr/bin/env bash
# Makes the Debian package of the command-line builder for CI machines,
# dist/quillset_<version>_amd64.deb: /usr/bin/qsbuild, the installer programs and the language
# files under /usr/share/quillset, the qsbuild(1) manual page. qsbuild finds its programs there
# (../share/quillset from its own folder) when it has none beside it.
# Usage: package-deb.sh [--from PROGRAM_FOLDER] [--output DIR]
#   PROGRAM_FOLDER: a program folder laid out as dist/Quillset (qsbuild, setup/, LanguageSets/);
#   without it the programs are built by scripts/build.sh first. DIR: where the package goes
#   (default dist/).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
from="" output="$top/dist"
while [ $# -gt 0 ]; do
    case $1 in
        --from) from=$2; shift 2 ;;
        --output) output=$2; shift 2 ;;
        *) echo "usage: package-deb.sh [--from PROGRAM_FOLDER] [--output DIR]" >&2; exit 2 ;;
    esac
done
if [ -z "$from" ]; then
    bash "$top/scripts/build.sh"
    from=$top/dist/Quillset
fi
for needed in qsbuild setup/_setup.exe setup/_sfx.exe setup/_uninstall.exe LanguageSets/Setup/English.dat; do
    [ -f "$from/$needed" ] || { echo "package-deb.sh: $from/$needed is missing" >&2; exit 2; }
done

version=$("$from/qsbuild" --version | sed -n 's/^qsbuild //p')
[ -n "$version" ] || { echo "package-deb.sh: qsbuild gave no version" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
share=$root/usr/share/quillset
doc=$root/usr/share/doc/quillset
install -d "$root/DEBIAN" "$root/usr/bin" "$share/setup" "$share/LanguageSets/Setup" "$doc" "$root/usr/share/man/man1"
install -m 0755 "$from/qsbuild" "$root/usr/bin/qsbuild"
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$root/usr/bin/qsbuild"
install -m 0644 "$from"/setup/_setup.exe "$from"/setup/_sfx.exe "$from"/setup/_uninstall.exe "$share/setup/"
install -m 0644 "$from"/LanguageSets/Setup/*.dat "$share/LanguageSets/Setup/"
if [ -d "$from/LanguageSets/Builder" ]; then
    install -d "$share/LanguageSets/Builder"
    install -m 0644 "$from"/LanguageSets/Builder/*.dat "$share/LanguageSets/Builder/"
fi
gzip -9n < "$top/packaging/qsbuild.1" > "$root/usr/share/man/man1/qsbuild.1.gz"
install -m 0644 "$top/packaging/debian/copyright" "$doc/copyright"
gzip -9n < "$top/packaging/debian/changelog" > "$doc/changelog.gz"
chmod 0644 "$root/usr/share/man/man1/qsbuild.1.gz" "$doc/changelog.gz"

# The libraries qsbuild needs, as dpkg-shlibdeps names their packages.
mkdir -p "$work/src/debian"
printf 'Source: quillset\n\nPackage: quillset\nArchitecture: amd64\n' > "$work/src/debian/control"
depends=$(cd "$work/src" && dpkg-shlibdeps -O "$root/usr/bin/qsbuild" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "package-deb.sh: dpkg-shlibdeps found no dependencies of qsbuild" >&2; exit 1; }

cat > "$root/DEBIAN/control" <<CONTROL
Package: quillset
Version: $version
Architecture: amd64
Maintainer: Varnel Software <quillset@example.com>
Installed-Size: $(du -sk --exclude=DEBIAN "$root" | cut -f1)
Depends: $depends
Recommends: wine | wine64
Section: devel
Priority: optional
Homepage: https://www.example.com/quillset
Description: build Windows installers and verify them under Wine
 Quillset's command-line builder, qsbuild, makes a Windows installer (one
 self-extracting setup program, or a setup program with its files) from a
 Quillset project file, with the same build as the graphical builder.
 .
 With Wine installed, qsbuild --verify installs a setup silently in a private
 Wine prefix, reports every file, shortcut, registry value, file type and the
 uninstall entry it made, uninstalls it and reports what was left behind, for
 CI jobs that prove a setup installs, upgrades and uninstalls cleanly.
CONTROL
(cd "$root" && find usr -type f -exec md5sum {} + | sort -k2 > DEBIAN/md5sums)
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
find "$root" -type d -exec chmod 0755 {} +

mkdir -p "$output"
deb=$output/quillset_${version}_amd64.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"

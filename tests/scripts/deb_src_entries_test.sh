#!/usr/bin/env bash
# The deb-src entries that deps.sh writes follow the system's own apt sources: their mirrors,
# suites, components and keys, in either file form, without the security suites, disabled
# entries or suites the system already offers as deb-src.
set -uo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() {  # expect DESCRIPTION EXPECTED FILE...
    local description=$1 expected=$2
    shift 2
    local actual
    actual=$(awk -f "$top/scripts/deb-src-entries.awk" "$@")
    if [ "$actual" != "$expected" ]; then
        printf 'FAIL: %s\n--- expected\n%s\n--- got\n%s\n' "$description" "$expected" "$actual"
        failures=$((failures + 1))
    fi
}

cat > "$work/debian.sources" <<'SRC'
Types: deb
# a mirror of the machine's choice
URIs: http://mirror.example.net/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://mirror.example.net/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
expect "a deb822 file gives its mirror and release suites" "Types: deb-src
URIs: http://mirror.example.net/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" "$work/debian.sources"

cat > "$work/sources.list" <<'SRC'
# deb cdrom:[Debian GNU/Linux 12 _Bookworm_ - Official amd64 DVD Binary-1]/ bookworm main
deb http://ftp.de.debian.org/debian/ bookworm main non-free-firmware
deb [arch=amd64 signed-by=/etc/apt/keyrings/mirror.gpg] http://ftp.de.debian.org/debian/ bookworm-updates main # updates
deb http://security.debian.org/debian-security bookworm-security main
SRC
expect "one-line entries give one stanza each, with their keys" "Types: deb-src
URIs: http://ftp.de.debian.org/debian/
Suites: bookworm
Components: main non-free-firmware

Types: deb-src
URIs: http://ftp.de.debian.org/debian/
Suites: bookworm-updates
Components: main
Signed-By: /etc/apt/keyrings/mirror.gpg" "$work/sources.list"

printf 'deb-src http://ftp.de.debian.org/debian/ bookworm main non-free-firmware\n' >> "$work/sources.list"
cat > "$work/offered.sources" <<'SRC'
Types: deb deb-src
URIs: http://mirror.example.net/debian
Suites: bookworm
Components: main

Types: deb
Enabled: no
URIs: http://old.example.net/debian
Suites: bookworm
Components: main
SRC
expect "suites offered as deb-src already and disabled entries are left out" "Types: deb-src
URIs: http://ftp.de.debian.org/debian/
Suites: bookworm-updates
Components: main
Signed-By: /etc/apt/keyrings/mirror.gpg" "$work/offered.sources" "$work/sources.list"

expect "a system that names no archive gives nothing" "" /dev/null

[ $failures -eq 0 ] && echo "deb-src entries: all checks passed"
exit $((failures > 0))

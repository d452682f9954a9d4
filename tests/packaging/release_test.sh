#!/usr/bin/env bash
# The folder `make release` fills: the .deb, the two .zips of the same version, SHA256SUMS
# naming exactly those, and nothing else.
#   release_test.sh FOLDER
set -euo pipefail
cd "$1"
fail() {
    echo "release_test: $*" >&2
    exit 1
}
version=$(dpkg-deb -f tolvane_*_amd64.deb Version)
expected="SHA256SUMS Tolvane-$version-windows-x64.zip Tolvane-$version-windows-x86.zip tolvane_${version}_amd64.deb"
[[ $(LC_ALL=C ls | xargs) == "$expected" ]] || fail "holds $(ls | xargs), not $expected"
[[ $(awk '{print $2}' SHA256SUMS | LC_ALL=C sort | xargs) == "${expected#SHA256SUMS }" ]] ||
    fail "SHA256SUMS names $(awk '{print $2}' SHA256SUMS | xargs)"
sha256sum -c --strict SHA256SUMS

#!/usr/bin/env bash
# Packs the Windows .zip into a scratch folder and checks what a user unpacks:
#   zip_test.sh CPackConfig.cmake ARCHIVE-NAME BUILT-Tolvane.exe
set -euo pipefail
config=$1 name=$2 exe=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "zip_test: $*" >&2
    exit 1
}

cpack --config "$config" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
zip=$scratch/out/$name.zip
[[ -f $zip ]] || fail "no $name.zip; cpack made: $(ls "$scratch/out")"

listed=$(cmake -E tar tf "$zip" | grep -v '/$' | sort)
expected=$(printf '%s\n' "$name/LICENSE.txt" "$name/README.md" "$name/Tolvane.exe" | sort)
[[ $listed == "$expected" ]] || fail "$name.zip holds"$'\n'"$listed"$'\n'"instead of"$'\n'"$expected"

# The archive carries the executable just built, not an older one.
mkdir "$scratch/unpacked"
(cd "$scratch/unpacked" && cmake -E tar xf "$zip")
cmp -s "$scratch/unpacked/$name/Tolvane.exe" "$exe" || fail "the Tolvane.exe in $name.zip is not $exe"
grep -q '^MIT License' "$scratch/unpacked/$name/LICENSE.txt" || fail "LICENSE.txt is not the licence"
echo "zip_test: $name.zip holds Tolvane.exe, README.md and LICENSE.txt"

#!/usr/bin/env bash
# Packs the Windows .zip into a scratch folder: it holds the executable just built.
#   zip_test.sh CPackConfig.cmake ARCHIVE-NAME BUILT-Tolvane.exe
set -euo pipefail
config=$1 name=$2 exe=$(realpath "$3")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cpack --config "$config" -B "$scratch" >"$scratch/cpack.log" 2>&1 || {
    cat "$scratch/cpack.log" >&2
    exit 1
}
cd "$scratch" && cmake -E tar xf "$name.zip"
cmp "$name/Tolvane.exe" "$exe"
grep -q '^MIT License' "$name/LICENSE.txt"
echo "zip_test: $name.zip holds Tolvane.exe and the licence"

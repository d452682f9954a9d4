#!/usr/bin/env bash
# Packs the Windows .zip into a scratch folder: it holds the executable just built and two
# text files for Windows users, every line ending in CR LF, and nothing else (no Markdown).
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
files=$(cd "$name" && find . -type f | LC_ALL=C sort | xargs)
[[ $files == "./LICENSE.txt ./README.txt ./Tolvane.exe" ]] || { echo "zip_test: holds $files" >&2; exit 1; }
cmp "$name/Tolvane.exe" "$exe"
grep -q '^MIT License' "$name/LICENSE.txt"
for text in "$name"/*.txt; do
    ! grep -n -v $'\r$' "$text" || { echo "zip_test: $text has lines without CR LF" >&2; exit 1; }
done
echo "zip_test: $name.zip holds Tolvane.exe and README.txt and LICENSE.txt with CR LF"

#!/usr/bin/env bash
# Each command's set-up, as apt would install it: every list resolves, and what `make run`
# brings onto a machine that has nothing yet holds no Windows toolchain and no desktop.
#   bootstrap_test.sh scripts/bootstrap
set -euo pipefail
bootstrap=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
simulate() { apt-get install --simulate -q "$@" >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log" >&2; exit 1; }; }

for command in run deb release test; do
    { read -r packages; read -r desktops; } < <("$bootstrap" --list $command)
    simulate $packages
    [[ -z $desktops ]] || simulate --no-install-recommends $desktops
done

: >"$scratch/nothing-installed"
simulate -o Dir::State::status="$scratch/nothing-installed" $("$bootstrap" --list run | head -1)
if grep -E '^Inst (.*mingw|wine|weston|gnome-session|plasma|xfce|mate-session|cinnamon|lxqt)' "$scratch/apt.log"; then
    echo "bootstrap_test: make run would install the above" >&2
    exit 1
fi
echo "bootstrap_test: every list resolves; make run's holds $(grep -c '^Inst' "$scratch/apt.log") packages, none of them a Windows toolchain or a desktop"

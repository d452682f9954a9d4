#!/usr/bin/env bash
# Packs the .deb into a scratch folder, runs lintian on it, checks its fields and files,
# unpacks it into a scratch root and starts the unpacked /usr/bin/tolvane on an X server
# of its own; then packs it again as a named packager would:
#   deb_test.sh CPackConfig.cmake VERSION
set -euo pipefail
config=$1 version=$2
id=org.tolvane.Tolvane
scratch=$(mktemp -d)
xvfb_pid='' program_pid=''
cleanup() {
    [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    wait
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "deb_test: $*" >&2
    exit 1
}

# pack OUT [VAR=VALUE...]: the .deb packed into OUT with that environment.
pack() {
    local out=$1
    shift
    env -u DEBFULLNAME -u DEBEMAIL "$@" cpack --config "$config" -G DEB -B "$out" \
        >"$out.log" 2>&1 || { cat "$out.log" >&2; fail "cpack failed"; }
    deb=$out/tolvane_${version}_$(dpkg --print-architecture).deb
    [[ -f $deb ]] || fail "no $(basename "$deb"); cpack made: $(ls "$out")"
}
pack "$scratch/out"

# Debian's own checks, with no packager named: any error or warning fails. One info tag
# stays, hardening-no-fortify-functions: the program is built with _FORTIFY_SOURCE=2
# (tests/hardening shows it on a probe), but none of its calls has a destination size
# the compiler knows and cannot prove safe, so none became a checked *_chk call.
lintian --fail-on error,warning --no-tag-display-limit "$deb" >"$scratch/lintian.log" 2>&1 ||
    { cat "$scratch/lintian.log" >&2; fail "lintian found errors or warnings"; }

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
for expected in Package=tolvane Version="$version" Section=utils Priority=optional \
    Recommends="fonts-liberation, qt6-wayland"; do
    name=${expected%%=*} value=${expected#*=}
    [[ $(field "$name") == "$value" ]] || fail "$name is '$(field "$name")', not '$value'"
done
# dpkg-shlibdeps, not a hand-written list, names the libraries the program links.
depends=$(field Depends)
for library in libqt6widgets6 libsystemd0 libc6; do
    [[ $depends =~ (^|, )$library( |,|$) ]] || fail "Depends lacks $library: $depends"
done
description=$(field Description)
[[ $(wc -l <<<"$description") -ge 2 ]] || fail "Description has no long part: $description"

# Exactly these files, nothing of the build or the tests.
icons=/usr/share/icons/hicolor
expected_files=(
    /usr/bin/tolvane
    /usr/share/applications/$id.desktop
    /usr/share/metainfo/$id.metainfo.xml
    /usr/share/doc/tolvane/copyright
    /usr/share/doc/tolvane/changelog.gz
    /usr/share/man/man1/tolvane.1.gz
    $icons/scalable/apps/$id.svg
)
sizes=(16 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
    expected_files+=("$icons/${size}x$size/apps/$id.png")
done
contents=$(dpkg-deb -c "$deb")
listed=$(awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' <<<"$contents" | sort)
wanted=$(printf '%s\n' "${expected_files[@]}" | sort)
[[ $listed == "$wanted" ]] || fail "the package holds"$'\n'"$listed"$'\n'"instead of"$'\n'"$wanted"
grep -q '^-rwxr-xr-x .* \./usr/bin/tolvane$' <<<"$contents" || fail "usr/bin/tolvane is not executable"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
# Each PNG is the size its folder promises.
for size in "${sizes[@]}"; do
    png=$root$icons/${size}x$size/apps/$id.png
    actual=$(identify -format '%wx%h' "$png")
    [[ $actual == "${size}x$size" ]] || fail "$png is $actual"
done

# Start the installed program on a private X server and wait for its window.
mkfifo "$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
read -r -t 30 display <"$scratch/display" || { cat "$scratch/xvfb.log" >&2; fail "Xvfb did not start"; }
export DISPLAY=:$display
unset WAYLAND_DISPLAY
QT_QPA_PLATFORM=xcb "$root/usr/bin/tolvane" >"$scratch/tolvane.log" 2>&1 &
program_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tolvane$' | head -n 1) ||
    { cat "$scratch/tolvane.log" >&2; fail "no window named Tolvane appeared"; }
[[ $(xdotool getwindowpid "$window") == "$program_pid" ]] ||
    fail "the Tolvane window does not belong to the unpacked program"

# Desktops on X11 tie the window to its menu entry through StartupWMClass.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/$id.desktop")
xprop -id "$window" WM_CLASS | grep -q "\"$wm_class\"\$" ||
    fail "the window's class is $(xprop -id "$window" WM_CLASS), the menu entry expects \"$wm_class\""

kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=''

# The packager, as Debian's tools take it, names the package and its changelog entry.
packager="Jane Packer <jane@example.org>"
for named in "DEBFULLNAME=Jane Packer|DEBEMAIL=jane@example.org" "DEBEMAIL=$packager"; do
    IFS='|' read -ra variables <<<"$named"
    rm -rf "$scratch/named"
    pack "$scratch/named" "${variables[@]}"
    [[ $(field Maintainer) == "$packager" ]] || fail "with $named, Maintainer is '$(field Maintainer)'"
    dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/tolvane/changelog.gz | gunzip |
        grep -q "^ -- $packager  " || fail "with $named, the changelog is not signed by $packager"
done
echo "deb_test: $(basename "$deb") installs ${#expected_files[@]} files; its program opened window $window"

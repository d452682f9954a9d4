#!/usr/bin/env bash
# Packs the .deb into a scratch folder, runs lintian on it, checks its files, unpacks it into
# a scratch root and starts the unpacked /usr/bin/tolvane on a private X server; then packs
# it again as a named packager would:
#   deb_test.sh CPackConfig.cmake VERSION
set -euo pipefail
config=$1 version=$2
id=org.tolvane.Tolvane
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
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

# Debian's own checks, with no packager named: any error or warning fails. The info tag
# hardening-no-fortify-functions stays: tests/hardening shows the flag on a probe instead.
lintian --fail-on error,warning --no-tag-display-limit "$deb" >"$scratch/lintian.log" 2>&1 ||
    { cat "$scratch/lintian.log" >&2; fail "lintian found errors or warnings"; }

# dpkg-shlibdeps, not a hand-written list, names the libraries the program links.
field() { dpkg-deb -f "$deb" "$1"; }
depends=$(field Depends)
for library in libqt6widgets6 libsystemd0 libc6; do
    [[ $depends =~ (^|, )$library( |,|$) ]] || fail "Depends lacks $library: $depends"
done
[[ $(field Recommends) == "fonts-liberation, qt6-wayland" ]] || fail "Recommends is '$(field Recommends)'"
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

# The unpacked program on the e2e tests' private X server: its window appears, with the
# class its menu entry names (StartupWMClass), as desktops on X11 tie the two.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/$id.desktop")
PYTHONPATH=$(dirname "$0")/../e2e /usr/bin/python3 - "$root/usr/bin/tolvane" "$wm_class" "$scratch" <<'END' ||
import os, subprocess, sys, x_session
program, wm_class, scratch = sys.argv[1:]
display = x_session.Display(os.path.join(scratch, "xvfb.log"))
process = subprocess.Popen([program], env=display.env(dict(os.environ, QT_QPA_PLATFORM="xcb")))
try:
    window = str(display.wait_for_window("Tolvane", process=process))
    assert display.xdotool("getwindowpid", window).strip() == str(process.pid), "not its window"
    classes = display.run("xprop", "-id", window, "WM_CLASS").stdout.strip()
    assert classes.endswith(f'"{wm_class}"'), f'{classes}, not "{wm_class}"'
finally:
    process.terminate()
    process.wait()
    display.close()
END
    fail "the unpacked program's window did not appear as its menu entry expects"

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
echo "deb_test: $(basename "$deb") installs ${#expected_files[@]} files; its program opens its window"

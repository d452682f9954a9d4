#!/usr/bin/env bash
# Packs the .deb into a scratch folder: lintian finds nothing, the unpacked program opens its
# window as its menu entry expects, and a packager named as Debian's tools take it signs it.
#   deb_test.sh CPackConfig.cmake VERSION
set -euo pipefail
config=$1 version=$2
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
}
pack "$scratch/out"

# Debian's own checks: file modes, dependencies, icon sizes, manual page, changelog... The
# info tag hardening-no-fortify-functions stays: tests/hardening shows the flag on a probe.
lintian --fail-on error,warning --no-tag-display-limit "$deb" >"$scratch/lintian.log" 2>&1 ||
    { cat "$scratch/lintian.log" >&2; fail "lintian found errors or warnings"; }

# The menu entry's program and icon are in the package, and the program's window has the
# class the entry names (StartupWMClass), as desktops on X11 tie the two.
root=$scratch/root
dpkg-deb -x "$deb" "$root"
entry=$root/usr/share/applications/org.tolvane.Tolvane.desktop
key() { sed -n "s/^$1=//p" "$entry"; }
compgen -G "$root/usr/share/icons/hicolor/*/apps/$(key Icon).*" >/dev/null ||
    fail "no icon named $(key Icon)"
PYTHONPATH=$(dirname "$0")/../e2e /usr/bin/python3 - "$root/usr/bin/$(key Exec)" \
    "$(key StartupWMClass)" "$scratch" <<'END' || fail "the unpacked program's window"
import sys
import linux_program
import x_session

program, wm_class, scratch = sys.argv[1:]
display = x_session.Display(f"{scratch}/xvfb.log")
process = linux_program.start(display, program, scratch, linux_program.no_buses(scratch))
try:
    window = display.wait_for_window("Tolvane", process=process)
    classes = display.run("xprop", "-id", str(window), "WM_CLASS").stdout.strip()
    assert classes.endswith(f'"{wm_class}"'), f'{classes}, not "{wm_class}"'
finally:
    x_session.stop(process)
    display.close()
END

# The packager, as Debian's tools take it, names the package and signs its changelog.
packager="Jane Packer <jane@example.org>"
for named in "DEBFULLNAME=Jane Packer|DEBEMAIL=jane@example.org" "DEBEMAIL=$packager"; do
    IFS='|' read -ra variables <<<"$named"
    pack "$scratch/named-${#variables[@]}" "${variables[@]}"
    [[ $(dpkg-deb -f "$deb" Maintainer) == "$packager" ]] || fail "$named: Maintainer"
    dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/tolvane/changelog.gz | gunzip |
        grep -q "^ -- $packager  " || fail "$named: the changelog is not signed by $packager"
done
echo "deb_test: lintian-clean, its program opens its window"

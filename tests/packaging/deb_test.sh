#!/usr/bin/env bash
# Packs the .deb into a scratch folder: lintian finds nothing, its menu entry's program and icon
# are in it, and a packager named as Debian's tools take it signs it.
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

# The menu entry's icon is in the package (lintian checks for its program).
root=$scratch/root
dpkg-deb -x "$deb" "$root"
icon=$(sed -n 's/^Icon=//p' "$root/usr/share/applications/org.tolvane.Tolvane.desktop")
compgen -G "$root/usr/share/icons/hicolor/*/apps/$icon.*" >/dev/null || fail "no icon named $icon"

# The packager, as Debian's tools take it, names the package and signs its changelog.
packager="Jane Packer <jane@example.org>"
for named in "DEBFULLNAME=Jane Packer|DEBEMAIL=jane@example.org" "DEBEMAIL=$packager"; do
    IFS='|' read -ra variables <<<"$named"
    pack "$scratch/named-${#variables[@]}" "${variables[@]}"
    [[ $(dpkg-deb -f "$deb" Maintainer) == "$packager" ]] || fail "$named: Maintainer"
    dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/tolvane/changelog.gz | gunzip |
        grep -q "^ -- $packager  " || fail "$named: the changelog is not signed by $packager"
done
echo "deb_test: lintian-clean, its menu entry complete, signed by its packager"

#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the tree a package is made of: the program folder,
# the command on the PATH, the desktop's files, each valid by its own checker where that is installed.
# Usage: install-tree.sh BUILD_FOLDER
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
fail() {
    echo "install-tree: $*" >&2
    exit 1
}

expected=(
    bin/nimbrel
    lib/nimbrel/nimbrel lib/nimbrel/doorbell.wav lib/nimbrel/nimbrel.png
    lib/nimbrel/Skin/385x281.Jpg lib/nimbrel/Skin/CheckON.Jpg lib/nimbrel/help/index.html
    lib/nimbrel/help/keyboard.html
    lib/udev/rules.d/77-nimbrel-modems.rules
    share/applications/io.github.nimbrel.Nimbrel.desktop
    share/metainfo/io.github.nimbrel.Nimbrel.metainfo.xml
    share/icons/hicolor/scalable/apps/nimbrel.svg
    share/man/man1/nimbrel.1.gz
    share/doc/nimbrel/copyright share/doc/nimbrel/changelog.gz
)
for size in 16 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/nimbrel.png")
done
for file in "${expected[@]}"; do
    [ -e "$prefix/$file" ] || fail "$file is missing"
done
# Nothing but the program's own files: no tools, tests or benchmarks.
unexpected=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' \
    | grep -Ev '^(bin/nimbrel|lib/nimbrel/|lib/udev/rules.d/77-nimbrel-modems.rules|share/(applications|metainfo|icons|man|doc/nimbrel)/)' \
    || true)
[ -z "$unexpected" ] || fail "files that are not Nimbrel's own: $unexpected"

[ -L "$prefix/bin/nimbrel" ] || fail "bin/nimbrel is not a link to the program folder"
[ "$(readlink -f "$prefix/bin/nimbrel")" = "$(readlink -f "$prefix/lib/nimbrel/nimbrel")" ] \
    || fail "bin/nimbrel points at $(readlink -f "$prefix/bin/nimbrel")"
version=$("$prefix/bin/nimbrel" --version) || fail "nimbrel --version failed"
[[ "$version" == "Nimbrel "* ]] || fail "nimbrel --version printed '$version'"
grep -qx 'Exec=nimbrel' "$prefix/share/applications/io.github.nimbrel.Nimbrel.desktop" \
    || fail "the desktop entry does not start the command on the PATH"
grep -q '<release version="' "$prefix/share/metainfo/io.github.nimbrel.Nimbrel.metainfo.xml" \
    || fail "the metainfo file names no release"
[ "$(gzip -dc "$prefix/share/man/man1/nimbrel.1.gz" | head -1 | cut -c1-11)" = ".TH NIMBREL" ] \
    || fail "the manual page is not nimbrel(1)"

if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$prefix/share/applications/io.github.nimbrel.Nimbrel.desktop"
fi
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/io.github.nimbrel.Nimbrel.metainfo.xml" > /dev/null \
        || appstreamcli validate --no-net "$prefix/share/metainfo/io.github.nimbrel.Nimbrel.metainfo.xml"
fi
echo "install-tree: ${#expected[@]} files checked in $prefix"

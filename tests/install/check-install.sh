#!/usr/bin/env bash
# Installs the build into a temporary root and checks what a desktop user gets: the programs,
# the engine library and the manuals where the program finds them, the examples, a valid
# desktop entry, icon and data-file type, an analysis by the installed runner, the Help items
# opening files of the installed tree, and a Debian package that holds all of it.
# Usage: check-install.sh BUILD-FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

DESTDIR="$root/tree" cmake --install "$build" --prefix /usr >/dev/null
tree="$root/tree/usr"
for file in bin/torvex bin/torvex-run bin/torvex-convert lib/torvex/Torvex2012_DLL.DLL \
    "share/doc/torvex/TORVEX 2012 Users Manual.pdf" share/doc/torvex/TorvexTechnicalManual.pdf \
    share/doc/torvex/TORVEX_2012.html share/torvex/examples/cantilever-sand.tx4d \
    share/applications/torvex.desktop share/icons/hicolor/scalable/apps/torvex.svg \
    share/mime/packages/torvex.xml; do
  [ -f "$tree/$file" ] || fail "the installed tree lacks $file"
done
desktop-file-validate "$tree/share/applications/torvex.desktop"
xmllint --noout "$tree/share/mime/packages/torvex.xml"
xmllint --noout "$tree/share/icons/hicolor/scalable/apps/torvex.svg"
grep -q '<glob pattern="\*.tx4d"/>' "$tree/share/mime/packages/torvex.xml" || fail "no .tx4d type"
grep -q '^MimeType=application/x-torvex-data;$' "$tree/share/applications/torvex.desktop" ||
  fail "the desktop entry opens no data files"

# The installed runner analyses an example.
mkdir "$root/work"
cp "$tree/share/torvex/examples/cantilever-sand.tx4d" "$root/work/"
"$tree/bin/torvex-run" "$root/work/cantilever-sand.tx4d" >/dev/null || fail "the installed torvex-run failed"
[ -s "$root/work/cantilever-sand.tx4p" ] || fail "the installed torvex-run wrote no plot file"

# The Help items and the engine library, looked up from the installed program's folder.
TORVEX_INSTALLED_BIN="$tree/bin" QT_QPA_PLATFORM=offscreen \
  "$build/bin/torvex_app_DocumentCommands_tests" helpFilesOpenFromTheProgramFolderWithoutMessages >/dev/null ||
  fail "the Help items do not find their files in the installed tree"

# The Debian package.
(cd "$build" && cpack -G DEB -B "$root/package" >/dev/null) || fail "cpack failed"
package=$(ls "$root"/package/*.deb)
contents=$(dpkg-deb -c "$package")
for file in ./usr/bin/torvex ./usr/lib/torvex/Torvex2012_DLL.DLL ./usr/share/applications/torvex.desktop \
    ./usr/share/mime/packages/torvex.xml ./usr/share/icons/hicolor/scalable/apps/torvex.svg \
    "./usr/share/doc/torvex/TORVEX 2012 Users Manual.pdf"; do
  grep -qF " $file" <<<"$contents" || fail "the package lacks $file"
done
echo "check-install: the installed tree and $(basename "$package") hold what a user needs"

#!/usr/bin/env bash
# Installs the build into a temporary root and checks what a desktop user gets: the programs,
# the engine library and the manuals where the program finds them, the examples, a valid
# desktop entry, icon and data-file type, an analysis by the installed runner, the Help items
# opening files of the installed tree, and a Debian package that holds all of it: its
# dependencies, stripped programs, manual pages, copyright and changelog, and no lintian error.
# Usage: check-install.sh BUILD-FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

DESTDIR="$root/tree" cmake --install "$build" --prefix /usr >/dev/null
tree="$root/tree/usr"
for file in bin/torvex bin/torvex-run bin/torvex-report bin/torvex-convert bin/torvex-make-examples \
    lib/torvex/Torvex2012_DLL.DLL share/man/man1/torvex.1.gz share/doc/torvex/copyright \
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
[ -s "$root/work/cantilever-sand.tx4y" ] || fail "the installed torvex-run wrote no design summary"
# ... and finds the report program beside itself for --pdf, with no display.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tree/bin/torvex-run" --pdf "$root/work/pdf" \
  "$root/work/cantilever-sand.tx4d" >/dev/null || fail "the installed torvex-run --pdf failed"
head -c 5 "$root/work/pdf/cantilever-sand.pdf" | grep -q '^%PDF-' || fail "the installed torvex-run wrote no report"

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
    "./usr/share/doc/torvex/TORVEX 2012 Users Manual.pdf" ./usr/share/doc/torvex/copyright \
    ./usr/share/doc/torvex/changelog.Debian.gz; do
  grep -qF " $file" <<<"$contents" || fail "the package lacks $file"
done

# What it needs on a bare system: the Qt libraries it links (found by dpkg-shlibdeps, the
# engine library's included) and the window-system plug-ins it loads.
depends=$(dpkg-deb -f "$package" Depends)
for need in libqt6widgets6 libqt6svg6 libqt6printsupport6 qt6-qpa-plugins fonts-liberation; do
  grep -qE "(^|, )$need( |,|$)" <<<"$depends" || fail "Depends lacks $need: $depends"
done
[ -n "$(dpkg-deb -f "$package" Description | sed -n '2,$p')" ] || fail "the package has no long description"

dpkg-deb -x "$package" "$root/unpacked"
unpacked="$root/unpacked/usr"
for program in torvex torvex-run torvex-report torvex-convert torvex-make-examples; do
  [ -x "$unpacked/bin/$program" ] || fail "the package lacks the program $program"
  page="$unpacked/share/man/man1/$program.1.gz"
  [ -f "$page" ] || fail "the package lacks the manual page of $program"
  gzip -t "$page" || fail "$page is no gzip file"
  # man(1) and groff name any macro or escape they cannot render as a warning on stderr.
  warnings=$( { LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" >/dev/null; } 2>&1
              zcat "$page" | groff -man -ww -z 2>&1 )
  [ -z "$warnings" ] || fail "the manual page of $program renders with warnings: $warnings"
  zcat "$page" | grep -q "^\.SH NAME" || fail "the manual page of $program has no NAME section"
done
for elf in bin/torvex bin/torvex-run bin/torvex-report bin/torvex-convert bin/torvex-make-examples lib/torvex/Torvex2012_DLL.DLL; do
  kind=$(file -b "$unpacked/$elf")
  grep -q '^ELF.*, stripped' <<<"$kind" || fail "$elf is not stripped: $kind"
done
version=$(dpkg-deb -f "$package" Version)
head -n 1 "$unpacked/share/doc/torvex/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not in the machine-readable format"
zcat "$unpacked/share/doc/torvex/changelog.Debian.gz" | head -n 1 | grep -qF "torvex ($version) " ||
  fail "the changelog does not start with version $version"

# Exit status 2 is lintian's for an error in the package; any other but 0, lintian failed.
lintian_status=0
lintian_out=$(lintian --fail-on error --tag-display-limit 0 "$package" 2>&1) || lintian_status=$?
if [ "$lintian_status" -ne 0 ] || grep -q '^E:' <<<"$lintian_out"; then
  printf '%s\n' "$lintian_out" >&2
  fail "lintian reports errors on $(basename "$package")"
fi
echo "check-install: the installed tree and $(basename "$package") hold what a user needs"

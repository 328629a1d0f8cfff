#!/usr/bin/env bash
# Installs the Debian packages that TORVEX needs to build, test and run.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-liberation xvfb xauth
  xdg-utils locales
  desktop-file-utils libxml2-utils
  # the package and its test: dpkg-shlibdeps, strip checks, lintian, the manual pages
  dpkg-dev file lintian man-db groff-base
  # the report tests read the PDF back: pdftotext, pdfinfo, pdftoppm
  poppler-utils
)

# A desktop with a decimal comma, for the tests that run the program in one.
make_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "Generating the locale de_DE.UTF-8"
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
  fi
}

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "All build packages are installed."
  make_locale
  exit 0
fi

echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${packages[@]}"
make_locale

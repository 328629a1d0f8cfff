#!/usr/bin/env bash
# Installs what is needed, builds TORVEX and starts it on a bundled example. Without a display
# it analyses every bundled example headless instead and prints their summaries.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release

# The examples are analysed in a copy, so that their results stay out of the source tree.
work=build/examples-run
rm -rf "$work"
mkdir -p "$work"
cp examples/*.tx4d "$work"/

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/torvex "$work/cantilever-sand.tx4d"
fi
echo "No graphical display: analysing the bundled examples headless (results in $work)."
build/bin/torvex-run "$work"/*.tx4d

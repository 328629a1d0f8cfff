#!/usr/bin/env bash
# Installs what is needed, builds TORVEX and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
exec build/bin/torvex "$@"

#!/usr/bin/env bash
# Configures and builds TORVEX into build/ (or the folder given as first argument); any
# further arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
cmake -S . -B "$dir" -G Ninja "$@"
cmake --build "$dir" --parallel "$(nproc)"

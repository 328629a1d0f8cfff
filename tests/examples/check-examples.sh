#!/usr/bin/env bash
# The bundled examples are what the generator writes today, and every case of every example
# converges: check-examples.sh BIN_DIR SOURCE_DIR
set -euo pipefail
bin=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin/torvex-make-examples" "$work/fresh" > /dev/null
for file in "$source"/examples/*.tx4d; do
  if ! cmp -s "$file" "$work/fresh/$(basename "$file")"; then
    echo "$(basename "$file") differs from what torvex-make-examples writes now" >&2
    exit 1
  fi
done
[ "$(ls "$work/fresh" | wc -l)" -eq "$(ls "$source"/examples/*.tx4d | wc -l)" ] || {
  echo "the generator writes examples that are not in examples/" >&2
  exit 1
}
"$bin/torvex-run" "$work"/fresh/*.tx4d

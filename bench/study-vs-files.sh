#!/usr/bin/env bash
# The parametric study against the same variants as data files: 1000 copies of
# examples/cantilever-sand.tx4d with the free height from 96 to 168 in (8 to 14 ft), run by
# torvex-run once over all 1000 files and 1000 times one file each, beside one
# torvex-run --vary over the same range. Usage: study-vs-files.sh [BUILD-FOLDER] [COUNT]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
count=${2:-1000}
run=$build/bin/torvex-run
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
example=$here/examples/cantilever-sand.tx4d

# The free height stands on the wall line (line 3) and the configuration line (line 7).
for ((i = 0; i < count; i++)); do
  h=$(awk -v i="$i" -v n="$count" 'BEGIN { printf "%.17g", (n == 1) ? 96 : (i == n - 1 ? 168 : 96 + (168 - 96) * i / (n - 1)) }')
  awk -v h="$h" 'BEGIN { FS = "[ \t]+"; OFS = " " }
    NR == 3 { sub(/[^ \t\r]+\r?$/, h "\r") }
    NR == 7 { sub(/^[^ \t]+/, h) }
    { print }' "$example" > "$work/v$(printf %04d "$i").tx4d"
done

seconds() { local start=$1; echo "$(date +%s.%N) - $start" | bc; }

start=$(date +%s.%N)
"$run" --vary "FreeHeight=96:168:$count" "$example" > "$work/study.csv"
echo "torvex-run --vary, $count variants in memory: $(seconds "$start") s"

start=$(date +%s.%N)
"$run" "$work"/v*.tx4d > /dev/null 2> "$work/batch.err"
echo "torvex-run, one call over $count files:      $(seconds "$start") s"

start=$(date +%s.%N)
for f in "$work"/v*.tx4d; do "$run" "$f" > /dev/null 2>&1; done
echo "torvex-run, $count calls of one file each:   $(seconds "$start") s"

grep -c ',converged,' "$work/study.csv" | sed 's/^/variants that converged in the study: /'

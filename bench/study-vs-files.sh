#!/usr/bin/env bash
# The parametric study against the same variants as data files. For each of two examples,
# 1000 copies with the free height changed (the cantilever in sand from 96 to 168 in, i.e. 8
# to 14 ft; the last stage of the three-stage excavation from 180 to 204 in), run by
# torvex-run once over all the files and once per file, beside one torvex-run --vary over the
# same range. Usage: study-vs-files.sh [BUILD-FOLDER] [COUNT]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
count=${2:-1000}
run=$build/bin/torvex-run
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seconds() { echo "$(date +%s.%N) - $1" | bc; }

# compare NAME EXAMPLE WALL-LINE CONFIG-LINE FROM TO [STAGE]: the free height stands last on
# the wall line and first on the configuration line (1-based line numbers).
compare() {
  local name=$1 example=$here/examples/$2 wall=$3 config=$4 from=$5 to=$6
  local dir=$work/$name
  mkdir -p "$dir"
  for ((i = 0; i < count; i++)); do
    h=$(awk -v i="$i" -v n="$count" -v a="$from" -v b="$to" \
      'BEGIN { printf "%.17g", (n == 1) ? a : (i == n - 1 ? b : a + (b - a) * i / (n - 1)) }')
    awk -v h="$h" -v wall="$wall" -v config="$config" '
      NR == wall { sub(/[^ \t\r]+\r?$/, h "\r") }
      NR == config { sub(/^[^ \t]+/, h) }
      { print }' "$example" > "$dir/v$(printf %04d "$i").tx4d"
  done
  echo "$name: $count variants of the free height from $from to $to in"
  local start
  start=$(date +%s.%N)
  "$run" --vary "FreeHeight=$from:$to:$count" "$example" > "$dir/study.csv"
  echo "  torvex-run --vary, in memory:        $(seconds "$start") s ($(grep -c ',converged,' "$dir/study.csv") converged)"
  start=$(date +%s.%N)
  "$run" "$dir"/v*.tx4d > /dev/null 2> "$dir/batch.err"
  echo "  torvex-run, one call over the files: $(seconds "$start") s"
  start=$(date +%s.%N)
  for f in "$dir"/v*.tx4d; do "$run" "$f" > /dev/null 2>&1; done
  echo "  torvex-run, one call per file:       $(seconds "$start") s"
}

compare cantilever-sand cantilever-sand.tx4d 3 7 96 168
compare three-stage-excavation three-stage-excavation.tx4d 32 37 180 204

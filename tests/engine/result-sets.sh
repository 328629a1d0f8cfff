#!/usr/bin/env bash
# The result files of a data file are replaced as one set: runs killed at random moments leave
# the whole old set, the whole new set, or no report (which readers take for no results); a
# file-size limit is a message naming the file, not a signal; no temporary file outlives the
# next run. Usage: result-sets.sh BIN_DIR SOURCE_DIR [KILLS]
set -euo pipefail
bin=$1
source=$2
kills=${3:-50}
run="$bin/torvex-run"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "result-sets: $*" >&2; exit 1; }

# A result file without the lines that differ from run to run: the time of the run.
stable() { grep -Ev '^(Run: |TORVEX 2012 engine run, |Time: )' "$1" | grep -v "$work" || true; }

# Two inputs whose results differ in every file, under one data file name.
mkdir -p "$work/ref"
for input in cantilever-sand anchored-soft-clay; do
  cp "$source/examples/$input.tx4d" "$work/ref/wall.tx4d"
  "$run" "$work/ref/wall.tx4d" > /dev/null 2>&1 || fail "$input does not converge"
  for ext in tx4o tx4p tx4r tx4y; do stable "$work/ref/wall.$ext" > "$work/ref/$input.$ext"; done
done
# Which input a result file is of: cantilever-sand, anchored-soft-clay or "mixed".
input_of() {
  local file=$1 ext=${1##*.}
  for input in cantilever-sand anchored-soft-clay; do
    if cmp -s <(stable "$file") "$work/ref/$input.$ext"; then echo "$input"; return; fi
  done
  echo "mixed"
}

# Kills at random moments of a run over several walls, each run of the other input.
walls=6
mkdir -p "$work/kill"
for i in $(seq $walls); do cp "$source/examples/cantilever-sand.tx4d" "$work/kill/wall$i.tx4d"; done
start=$(date +%s%N)
"$run" "$work"/kill/*.tx4d > /dev/null 2>&1
span_us=$(( ($(date +%s%N) - start) / 1000 + 1000 ))
inputs=(anchored-soft-clay cantilever-sand)
new=0 old=0 none=0
for k in $(seq "$kills"); do
  input=${inputs[$((k % 2))]}
  for i in $(seq $walls); do cp "$source/examples/$input.tx4d" "$work/kill/wall$i.tx4d"; done
  "$run" "$work"/kill/*.tx4d > /dev/null 2>&1 &
  pid=$!
  sleep "$(awk -v span="$span_us" -v r="$RANDOM" 'BEGIN { printf "%.6f", span * r / 32768 / 1e6 }')"
  kill -KILL "$pid" 2> /dev/null || true
  wait "$pid" 2> /dev/null || true
  for i in $(seq $walls); do
    report="$work/kill/wall$i.tx4o"
    [ -e "$report" ] || { none=$((none + 1)); continue; }  # no report: read as no results
    set_input=$(input_of "$report")
    [ "$set_input" != mixed ] || fail "kill $k: wall$i.tx4o is of no input"
    for ext in tx4p tx4r tx4y; do
      [ -e "$work/kill/wall$i.$ext" ] || fail "kill $k: wall$i.tx4o without wall$i.$ext"
      [ "$(input_of "$work/kill/wall$i.$ext")" = "$set_input" ] || fail "kill $k: wall$i.$ext is not of the report's run"
    done
    # A report no older than the data file, which readers take for current, is of the new input.
    if [ ! "$report" -ot "$work/kill/wall$i.tx4d" ] && [ "$set_input" != "$input" ]; then
      fail "kill $k: wall$i.tx4o of the old input is read as current"
    fi
    if [ "$report" -ot "$work/kill/wall$i.tx4d" ]; then old=$((old + 1)); else new=$((new + 1)); fi
  done
done
"$run" "$work"/kill/*.tx4d > /dev/null 2>&1 || fail "the run after the kills failed"
leftovers=$(find "$work/kill" -name '*.tmp*')
[ -z "$leftovers" ] || fail "temporary files after a complete run: $leftovers"

# A file-size limit: the run names the file it could not write and leaves no temporary file,
# no result file and no old result of the file; the status is 2.
mkdir -p "$work/limit"
cp "$source/examples/three-stage-excavation.tx4d" "$work/limit/wall.tx4d"
"$run" "$work/limit/wall.tx4d" > /dev/null 2>&1
touch "$work/limit/wall.tx4d"
status=0
(ulimit -f 30; exec "$run" "$work/limit/wall.tx4d") > "$work/out" 2> "$work/err" || status=$?
[ "$status" -eq 2 ] || fail "a run past the file-size limit ended with status $status: $(cat "$work/err")"
grep -Eq "^$work/limit/wall.tx4d: cannot write the results: Cannot write \"$work/limit/wall.tx4[opry]\": File too large.\$" \
  "$work/out" "$work/err" || fail "no message naming the file: $(cat "$work/out" "$work/err")"
left=$(ls "$work/limit")
[ "$left" = wall.tx4d ] || fail "a run past the file-size limit left: $left"

# Temporary files of a killed run are removed by the next run in the folder; those of a
# running process are not.
echo partial > "$work/limit/wall.tx4o.tmp999999999-0"
echo partial > "$work/limit/wall.tx4p.tmp$$-7"
echo mine > "$work/limit/notes.txt.tmp999999999-0"
"$run" "$work/limit/wall.tx4d" > /dev/null 2>&1
[ ! -e "$work/limit/wall.tx4o.tmp999999999-0" ] || fail "the leftover of a killed run stayed"
[ -e "$work/limit/wall.tx4p.tmp$$-7" ] || fail "the temporary file of a running process was removed"
[ -e "$work/limit/notes.txt.tmp999999999-0" ] || fail "a file that is no result file was removed"
echo "result-sets: $kills kills left $new new sets, $old old sets and $none without a report, none mixed;" \
  "the file-size limit is a message"

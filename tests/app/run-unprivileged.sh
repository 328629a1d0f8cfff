#!/usr/bin/env bash
# Runs a test program as an ordinary user, so that tests of folders and files the user may not
# write really meet a refusal: root writes anywhere. As root, the program and the bundled
# examples are copied to a folder the user "nobody" can reach, and the program runs as nobody
# with a home and a temporary folder of its own (the caller's TMPDIR may be a folder only root
# can enter or write); as any other user it simply runs.
# Usage: run-unprivileged.sh PROGRAM EXAMPLES-FOLDER [ARGUMENTS...]
set -euo pipefail
program=$1
examples=$2
shift 2
if [ "$(id -u)" -ne 0 ]; then
  TORVEX_EXAMPLES=$examples exec "$program" "$@"
fi
as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
place=
for base in "${TMPDIR:-/tmp}" /tmp /var/tmp /dev/shm; do
  [ -d "$base" ] || continue
  candidate=$(mktemp -d -p "$base") || continue
  chmod a+rx "$candidate"
  if as_nobody test -x "$candidate"; then place=$candidate; break; fi
  rm -rf "$candidate"
done
if [ -z "$place" ]; then
  echo "run-unprivileged.sh: no temporary folder the user nobody can enter" >&2
  exit 1
fi
trap 'rm -rf "$place"' EXIT
cp "$program" "$place/"
cp -r "$examples" "$place/examples"
mkdir "$place/home" "$place/tmp"
chown -R nobody:nogroup "$place/home" "$place/tmp"
chmod -R a+rX "$place"
cd "$place"
HOME="$place/home" TMPDIR="$place/tmp" TORVEX_EXAMPLES="$place/examples" \
  as_nobody "$place/$(basename "$program")" "$@"

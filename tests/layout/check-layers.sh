#!/usr/bin/env bash
# The program's layers: the views (dialogs, graphs, side view, design summary, calculation report,
# parametric study, table editor and numeric field)
# include nothing from the application shell, and the desktop services below them include
# nothing from the views or the shell. Usage: check-layers.sh SOURCE-FOLDER
set -euo pipefail
src="$1/src"
status=0
report() { echo "check-layers: $1"; status=1; }
while IFS= read -r line; do report "a view reaches into the shell: $line"; done < <(
  grep -rn '#include "app/' "$src/dialogs" "$src/plot" "$src/profile" "$src/summary" "$src/report" "$src/study" "$src/dataentry" "$src/desktop" || true)
while IFS= read -r line; do report "the desktop services reach up into the views: $line"; done < <(
  grep -rnE '#include "(dialogs|plot|profile|summary|report|study|dataentry)/' "$src/desktop" || true)
while IFS= read -r line; do report "headless code includes Qt: $line"; done < <(
  grep -rnE '#include <Q' "$src/project" "$1/engine" || true)
[ "$status" -eq 0 ] && echo "check-layers: every folder includes only from below itself"
exit "$status"

#!/usr/bin/env bash
# The program's layers: the views (dialogs, graphs, side view, design summary, calculation report,
# parametric study, table editor and numeric field)
# include nothing from the application shell, and the desktop services below them include
# nothing from the views or the shell. The engine is headless and below every program: it
# includes from the headless core (project/, dataentry/) and from its own folders only; within
# it, the soil models and the beam-column include no design answers, output or study code, and
# the design answers no output. torvex-run's own code (src/run) is headless, and no other part
# of the program includes it. Usage: check-layers.sh SOURCE-FOLDER
set -euo pipefail
src="$1/src"
engine="$1/engine"
status=0
report() { echo "check-layers: $1"; status=1; }
for folder in "$engine/soil" "$engine/beam" "$engine/design" "$engine/input" "$engine/output" \
              "$engine/parametric" "$src/run"; do
  [ -d "$folder" ] || report "no folder $folder"
done
while IFS= read -r line; do report "a view reaches into the shell: $line"; done < <(
  grep -rn '#include "app/' "$src/dialogs" "$src/plot" "$src/profile" "$src/summary" "$src/report" "$src/study" "$src/dataentry" "$src/desktop" || true)
while IFS= read -r line; do report "the desktop services reach up into the views: $line"; done < <(
  grep -rnE '#include "(dialogs|plot|profile|summary|report|study|dataentry)/' "$src/desktop" || true)
while IFS= read -r line; do report "headless code includes Qt: $line"; done < <(
  grep -rnE '#include <Q' "$src/project" "$src/run" "$engine" || true)
# Every quoted include of the engine names a header at its top (a name alone) or in one of
# its folders, or in the headless core; anything else is a program or a tool.
while IFS= read -r line; do report "the engine reaches beyond itself and the core: $line"; done < <(
  grep -rnE '#include "[^"]*/' "$engine" |
    grep -vE '#include "(soil|beam|design|input|output|parametric|project|dataentry)/[^/"]+"' || true)
while IFS= read -r line; do report "soil or beam code reaches up into design, output or study: $line"; done < <(
  grep -rnE '#include "((design|output|parametric)/|(Analysis|ResultFiles)\.h")' \
    "$engine/soil" "$engine/beam" || true)
while IFS= read -r line; do report "a design answer reaches into output or study: $line"; done < <(
  grep -rnE '#include "((output|parametric)/|(Analysis|ResultFiles)\.h")' "$engine/design" || true)
while IFS= read -r line; do report "the program includes torvex-run's own code: $line"; done < <(
  grep -rn '#include "run/' "$src" --exclude-dir=run || true)
[ "$status" -eq 0 ] && echo "check-layers: every folder includes only from below itself"
exit "$status"

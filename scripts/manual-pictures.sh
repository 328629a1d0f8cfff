#!/usr/bin/env bash
# Refreshes the pictures of the user's manual (docs/images) from the screenshots that the
# widget tests write of the real windows. Run the tests first (scripts/test.sh, or ctest in
# build/).
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin
cp "$bin/screenshot-dialog-DlgProp-1x.png" docs/images/wall-properties.png
cp "$bin/screenshot-dialog-dlgCSD-1x.png" docs/images/wall-configuration.png
cp "$bin/screenshot-document-commands.png" docs/images/soil-layers.png
cp "$bin/screenshot-stages.png" docs/images/stages.png
cp "$bin/screenshot-design-criteria-code.png" docs/images/screenshot-design-criteria.png
cp "$bin/screenshot-partial-factors.png" docs/images/screenshot-partial-factors.png
cp "$bin/screenshot-design-summary-code.png" docs/images/screenshot-design-summary-code.png
cp build/profile-screenshots/anchored-soft-clay-x1.png docs/images/side-view.png
cp "$bin/screenshot-graph-three-stage-excavation-DefMomShear.png" docs/images/graph-three-panels.png
# A results page of the calculation report of the three-stage example, drawn by pdftoppm.
report=$(mktemp -d)
trap 'rm -rf "$report"' EXIT
"$bin/torvex-report" "$report" examples/three-stage-excavation.tx4d >/dev/null
page=$(pdftotext -layout "$report/three-stage-excavation.pdf" - | awk -v RS='\f' '/\nResults: Stage 1\n/ {print NR; exit}')
pdftoppm -png -r 80 -f "$page" -l "$page" -singlefile "$report/three-stage-excavation.pdf" docs/images/report-page
echo "docs/images refreshed from the tests' screenshots"

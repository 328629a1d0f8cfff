#!/usr/bin/env bash
# Installs what is needed, builds TORVEX and runs every test: the normal build, the same
# tests under AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of each fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== Build and test"
scripts/build.sh build
ctest --test-dir build --output-on-failure --parallel "$jobs"

echo "== The same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DTORVEX_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure --parallel "$jobs"

echo "== Fuzzers (${TORVEX_FUZZ_SECONDS:=30} s each)"
scripts/build.sh build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVEX_FUZZ=ON
for fuzzer in EvaluatorFuzz WordReaderFuzz DataFileReaderFuzz SplitFuzz PlotFileReaderFuzz EngineFuzz \
    DesignSummaryFuzz StudyKeyFuzz; do
  corpus=$(mktemp -d)
  seeds=tests/fuzz/corpus/$(echo "${fuzzer%Fuzz}" | tr 'A-Z' 'a-z' | sed 's/datafilereader/datafile/; s/plotfilereader/plotfile/')
  build-fuzz/bin/$fuzzer -max_total_time="$TORVEX_FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus" "$seeds" 2>&1 | tail -n 12
  rm -rf "$corpus"
done
echo "All tests passed."

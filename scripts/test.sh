#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs the whole test
# suite, then builds and checks the Debian package. Exits non-zero on any failure.
#   ORVANE_SANITIZE=1  build and test with AddressSanitizer and UndefinedBehaviorSanitizer
#                      (the package is checked by the plain run only)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build-tests
options=(-DCMAKE_BUILD_TYPE=Debug -DORVANE_WERROR=ON)
if [ "${ORVANE_SANITIZE:-0}" = "1" ]; then
    build=build-sanitize
    options+=(-DORVANE_SANITIZE=ON)
    # A small quarantine keeps the memory caps measurable under the sanitizer.
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:quarantine_size_mb=16"
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

start=$(date +%s)
cmake -S . -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
echo "Built $build in $(($(date +%s) - start)) s"

(cd "$build" && ctest --output-on-failure --parallel "$(nproc)")

if [ "${ORVANE_SANITIZE:-0}" != "1" ]; then
    bash scripts/package.sh
fi

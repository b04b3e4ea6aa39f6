#!/usr/bin/env bash
# Where we stand: builds in Release and drives the real console against a headless virtual
# controller over a pseudo-terminal, then prints a table. It measures; it fails nothing.
#   scripts/bench.sh [ACTIONS]    actions per measured kind, at least 100 (default 200)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench --parallel "$(nproc)" --target orvane orvane-sim orvane-guard orvane-mqtt \
    orvane-bench orvane-bare

run=(env QT_QPA_PLATFORM=offscreen)
if command -v xvfb-run >/dev/null; then
    run=(xvfb-run -a env QT_QPA_PLATFORM=xcb)
fi
"${run[@]}" build-bench/bench/orvane-bench build-bench/bin/orvane-sim "${1:-200}"

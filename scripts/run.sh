#!/usr/bin/env bash
# Installs what is missing, builds the console and the virtual controller (nothing else), and
# starts the console.
#   scripts/run.sh                          the console, port 1 leading to the virtual
#                                           controller, which it starts and ends itself
#   scripts/run.sh --port 1=/dev/ttyUSB0    the console for a real tuner (any console options)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build build --parallel "$(nproc)" --target orvane orvane-sim

if (($# > 0)); then
    exec build/bin/orvane "$@"
fi
echo "Port 1 leads to the virtual controller; every click appears in its window."
exec build/bin/orvane --port 1=virtual

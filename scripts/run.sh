#!/usr/bin/env bash
# Installs what is missing, builds the console and starts it. Arguments go to the console,
# for example: scripts/run.sh --port 1=/dev/ttyUSB0
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --parallel "$(nproc)"
exec build/bin/orvane "$@"

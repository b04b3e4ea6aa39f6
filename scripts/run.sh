#!/usr/bin/env bash
# Installs what is missing, builds the console and the virtual controller, and starts them.
#   scripts/run.sh                          the console against the virtual controller
#   scripts/run.sh --port 1=/dev/ttyUSB0    only the console, for a real tuner (any console
#                                           options)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --parallel "$(nproc)"

if (($# > 0)); then
    exec build/bin/orvane "$@"
fi

# The virtual controller keeps a link to its pseudo-terminal; closing the console ends it.
line=$(mktemp -d)
build/bin/orvane-sim --link "$line/tuner" >"$line/where" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -rf "$line"' EXIT
for _ in $(seq 100); do
    [ -L "$line/tuner" ] && break
    sleep 0.1
done
echo "Virtual controller on $(head -n 1 "$line/where"), port 1 of the console ($line/tuner)."
echo "Choose port 1 in the Comport list; every click appears in the virtual controller's window."
build/bin/orvane --port 1="$line/tuner"

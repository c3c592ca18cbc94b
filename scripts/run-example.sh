#!/usr/bin/env bash
# Builds the command-line tool and runs the main job on the bundled example project: computes
# every circle and saves the project with its results under out/ (the bundled file stays as
# it is).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DDORVO_ENABLE_BENCHMARKS=OFF >/dev/null
cmake --build build --target dorvo-cli

mkdir -p out
cp examples/embankment.slw out/embankment.slw
build/cli/dorvo-cli calc out/embankment.slw --save --records out/embankment-records.txt
echo "Saved out/embankment.slw with its results; the records are in out/embankment-records.txt"

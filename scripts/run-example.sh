#!/usr/bin/env bash
# Builds the command-line tool and runs the main job on the bundled example project.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DDORVO_ENABLE_BENCHMARKS=OFF >/dev/null
cmake --build build --target dorvo-cli

build/cli/dorvo-cli show examples/embankment.slw

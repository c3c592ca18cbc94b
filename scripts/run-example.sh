#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the command-line tool and runs the main job on the bundled example project: computes
# every circle, saves the project with its results under out/ (the bundled file stays as it
# is) and draws its figure, data tables and result table to PDF.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build build --target dorvo-cli dorvo

mkdir -p out
cp examples/embankment.slw out/embankment.slw
build/cli/dorvo-cli calc out/embankment.slw --save --records out/embankment-records.txt
build/cli/dorvo-cli render out/embankment.slw --page figure --paper A3 --landscape \
    -o out/embankment-figure.pdf
build/cli/dorvo-cli render out/embankment.slw --page data --paper A4 -o out/embankment-data.pdf
build/cli/dorvo-cli render out/embankment.slw --page results --paper A4 \
    -o out/embankment-results.pdf
cp examples/embankment.prob.json out/embankment.prob.json
build/cli/dorvo-cli probability out/embankment.slw --plot out/embankment-probability.pdf \
    -o out/embankment-probability.json
echo "Results in out/: embankment.slw (saved with its results), embankment-records.txt,"
echo "embankment-figure.pdf, embankment-data.pdf, embankment-results.pdf,"
echo "embankment-probability.pdf and .json (the probability of failure)"

# With a display, the desktop program opens the computed example; the script does not wait.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    setsid build/desktop/dorvo out/embankment.slw >/dev/null 2>&1 < /dev/null &
    echo "The desktop program shows out/embankment.slw."
fi

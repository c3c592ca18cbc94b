#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything and runs the whole test suite: a formatting and licence-line check, the
# normal build and its Debian package checked as a distribution would, the core under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of every fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

echo "== formatting and licence lines"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
scripts/add-spdx-lines.sh --check

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORVO_ENABLE_BENCHMARKS=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== package: cpack, lintian, desktop entry, AppStream metadata, manual pages"
scripts/check-package.sh build

echo "== core under AddressSanitizer and UndefinedBehaviorSanitizer, with fuzzers"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ -DDORVO_CORE_ONLY=ON -DDORVO_ENABLE_BENCHMARKS=OFF \
    -DDORVO_ENABLE_SANITIZERS=ON -DDORVO_ENABLE_FUZZERS=ON >/dev/null
cmake --build build-sanitize -j "$jobs"
ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -LE fuzz

echo "== fuzzing"
ctest --test-dir build-sanitize --output-on-failure -L fuzz

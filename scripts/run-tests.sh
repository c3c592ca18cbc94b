#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything and runs the whole test suite: a formatting and licence-line check, the
# normal build and its Debian package checked as a distribution would, the core under
# AddressSanitizer and UndefinedBehaviorSanitizer, a short run of every fuzzer, and the core
# under ThreadSanitizer. Each stage's wall and processor time is printed, and again at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
summary=()
times_file=$(mktemp)
trap 'rm -f "$times_file" "$times_file.cs"' EXIT

# Hundredths of a second of processor time the shell's finished children have used so far, into
# a file: `times` must run in this shell, not in the subshell of a command substitution.
children_cpu_hundredths() {
    times >"$times_file"
    awk 'NR == 2 { for (i = 1; i <= 2; i++) { split($i, t, /[ms]/); s += t[1] * 60 + t[2] }
                   printf "%d", s * 100 }' "$times_file" >"$times_file.cs"
}

# stage NAME COMMAND...: runs the command, then says how long it took.
stage() {
    local name=$1 wall_before=$SECONDS cpu_before line
    shift
    echo "== $name"
    children_cpu_hundredths
    cpu_before=$(<"$times_file.cs")
    "$@"
    children_cpu_hundredths
    line=$(printf '%4d s wall %5d s cpu  %s' $((SECONDS - wall_before)) \
        $((($(<"$times_file.cs") - cpu_before + 50) / 100)) "$name")
    echo "== $line"
    summary+=("$line")
}

check_sources() {
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
    scripts/add-spdx-lines.sh --check
}

build_and_test() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DDORVO_ENABLE_BENCHMARKS=ON >/dev/null
    cmake --build build -j "$jobs"
    ctest --test-dir build --output-on-failure -j "$jobs"
}

sanitized_core() {
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_COMPILER=clang++ -DDORVO_CORE_ONLY=ON -DDORVO_ENABLE_BENCHMARKS=OFF \
        -DDORVO_ENABLE_SANITIZERS=ON -DDORVO_ENABLE_FUZZERS=ON >/dev/null
    cmake --build build-sanitize -j "$jobs"
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -LE fuzz
}

fuzz() {
    ctest --test-dir build-sanitize --output-on-failure -L fuzz
}

thread_sanitized_core() {
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_COMPILER=clang++ -DDORVO_CORE_ONLY=ON -DDORVO_ENABLE_BENCHMARKS=OFF \
        -DDORVO_ENABLE_THREAD_SANITIZER=ON >/dev/null
    cmake --build build-tsan -j "$jobs"
    TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j "$jobs"
}

scripts/install-deps.sh
stage "formatting and licence lines" check_sources
stage "build and test" build_and_test
stage "package: cpack, lintian, desktop entry, AppStream metadata, manual pages" \
    scripts/check-package.sh build
stage "core under AddressSanitizer and UndefinedBehaviorSanitizer" sanitized_core
stage "fuzzing" fuzz
stage "core under ThreadSanitizer" thread_sanitized_core

echo "== all passed in $SECONDS s"
printf '%s\n' "${summary[@]}"

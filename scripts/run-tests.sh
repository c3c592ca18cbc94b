#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything and runs the whole test suite: a formatting and licence-line check, the
# normal build and its Debian package checked as a distribution would, the whole program with
# its widget tests under AddressSanitizer and UndefinedBehaviorSanitizer with a short run of
# every fuzzer, and the core under ThreadSanitizer. Each stage's wall and processor time is printed, and again at the end;
# the processor time of the sanitizer builds, which start beside other stages, counts in the
# stage that finishes them.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
summary=()
times_file=$(mktemp)
background_build=
trap 'rm -f "$times_file" "$times_file.cs"; stop_background_build' EXIT

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

# Every build compiles each library and test program as a few large units (CMake's unity
# build): the headers, Qt's and GoogleTest's above all, are read a few times instead of once a
# file, which halves the processor time. Names in a file's anonymous namespace must therefore
# differ from those of the other files of its target.
unity=-DCMAKE_UNITY_BUILD=ON

# The package strips the programs, so the debug information of this build only serves the
# backtraces of failing tests: line tables (-g1) are enough and cost far less to compile.
normal_build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$unity" \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DDORVO_ENABLE_BENCHMARKS=ON >/dev/null
    cmake --build build -j "$jobs"
}

normal_tests() {
    ctest --test-dir build --output-on-failure -j "$jobs"
}

# The sanitizer builds, with clang, at -O0 with line tables for the reports.
configure_sanitized() {
    local folder=$1
    shift
    cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Debug "$unity" \
        -DCMAKE_CXX_FLAGS_DEBUG=-gline-tables-only -DCMAKE_CXX_COMPILER=clang++ \
        -DDORVO_ENABLE_BENCHMARKS=OFF "$@" >/dev/null
}

configure_sanitizer_builds() {
    configure_sanitized build-sanitize -DDORVO_ENABLE_SANITIZERS=ON -DDORVO_ENABLE_FUZZERS=ON \
        -DDORVO_FUZZ_SECONDS=8
    configure_sanitized build-tsan -DDORVO_CORE_ONLY=ON -DDORVO_ENABLE_THREAD_SANITIZER=ON
}

# build_beside FOLDER...: builds the folders one after the other at the lowest priority in the
# background, in the time the tests and the package check leave a core idle. Whatever is left
# when a stage needs the build is finished by finish_build at normal priority, so a machine
# busy with other work never starves the command; errors show there too.
build_beside() {
    (
        for folder in "$@"; do
            nice -n 19 ninja -C "$folder" >"$folder/beside.log" 2>&1 || exit 0
        done
    ) &
    background_build=$!
}

# Stops the build in the background (ninja stops its compilers) and waits for it.
stop_background_build() {
    [ -n "$background_build" ] || return 0
    local ninja
    ninja=$(pgrep -P "$background_build" || true)
    kill "$background_build" "$ninja" 2>/dev/null || true
    wait "$background_build" 2>/dev/null || true
    # ninja is no child of this shell: wait until it has stopped its compilers and ended.
    while [ -n "$ninja" ] && kill -0 "$ninja" 2>/dev/null; do sleep 0.2; done
    background_build=
}

finish_build() {
    stop_background_build
    cmake --build "$1" -j "$jobs"
}

# Every test program, the widget tests too, and the fuzzers two at a time beside them. The
# end-to-end test and the package's own checks ran on the normal build; under the sanitizers
# they would only repeat it, slower.
sanitized_program_and_fuzzing() {
    finish_build build-sanitize
    build_beside build-tsan
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs" \
        -E '^(desktop_e2e|packaging_scripts)$'
}

# Every core test program: the searches, the probabilistic runs, the calculation driver behind
# the page tests and the atomic writer run on several threads.
thread_sanitized_core() {
    finish_build build-tsan
    TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j "$jobs"
}

scripts/install-deps.sh
stage "formatting and licence lines" check_sources
stage "normal build" normal_build
configure_sanitizer_builds
build_beside build-sanitize build-tsan
stage "normal build's tests (sanitizer builds beside them)" normal_tests
stage "package: cpack, lintian, desktop entry, AppStream metadata, manual pages" \
    scripts/check-package.sh build
stage "whole program under AddressSanitizer and UndefinedBehaviorSanitizer, with fuzzers" \
    sanitized_program_and_fuzzing
stage "core under ThreadSanitizer" thread_sanitized_core

echo "== all passed in $SECONDS s"
printf '%s\n' "${summary[@]}"

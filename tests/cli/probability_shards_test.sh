#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a probabilistic analysis whole and as shards under GNU parallel, merges the parts and
# checks that the merged document is the whole run's, byte for byte but for its timing.
# Usage: probability_shards_test.sh DORVO_CLI PROJECT.slw SPEC.prob.json
set -euo pipefail

cli=$1
project=$2
spec=$3
shards=3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run=(--spec "$spec" --seed 7)
for mode in circle search; do
    n=600
    [ "$mode" = search ] && n=60
    "$cli" probability "$project" "${run[@]}" --n "$n" --mode "$mode" --json > "$work/whole.json"
    seq 0 $((shards - 1)) | parallel --halt now,fail=1 -j "$shards" \
        "$cli" probability "$project" "${run[@]}" --n "$n" --mode "$mode" --threads 1 \
        --shard {}/"$shards" -o "$work/part-{}.json"
    "$cli" probability-merge "$work"/part-*.json --json > "$work/merged.json"
    grep -v '"seconds"' "$work/whole.json" > "$work/whole.cmp"
    grep -v '"seconds"' "$work/merged.json" > "$work/merged.cmp"
    if ! cmp "$work/whole.cmp" "$work/merged.cmp"; then
        diff "$work/whole.cmp" "$work/merged.cmp" | head -20
        echo "mode $mode: the merged parts differ from the whole run" >&2
        exit 1
    fi
    # A part left out is refused, naming how many realisations are missing.
    if "$cli" probability-merge "$work/part-0.json" "$work/part-2.json" 2> "$work/gap.txt"; then
        echo "mode $mode: a merge with a part missing succeeded" >&2
        exit 1
    fi
    grep -q "realisations are in no part" "$work/gap.txt"
done
echo "shards merged equal the whole run"

#!/usr/bin/env bash
# Runs each fuzzer for the given seconds on a copy of the seed corpus. Fails
# when any fuzzer finds a fault; the input that shows it is kept under
# BUILD/fuzz-artifacts and its log's end is printed.
set -uo pipefail
build=${1:-build-fuzz}
seconds=${2:-300}
here=$(cd "$(dirname "$0")" && pwd)
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
failed=()
for target in ini expand image bitmap; do
    work=$(mktemp -d)
    log=$(mktemp)
    cp "$here/corpus/$target/"* "$work/"
    echo "== ${target}_fuzz for ${seconds}s"
    "$build/bin/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -max_len=8192 \
        -artifact_prefix="$artifacts/${target}-" -print_final_stats=1 "$work" >"$log" 2>&1
    status=$?
    grep -E '^(stat::|SUMMARY|Done|INFO: Seed)' "$log"
    if [ "$status" -ne 0 ]; then
        echo "!! ${target}_fuzz failed (exit status $status):"
        grep -vE '^(stat::|#[0-9]+)' "$log" | tail -n 30
        failed+=("$target")
    fi
    rm -rf "$work" "$log"
done
if [ "${#failed[@]}" -ne 0 ]; then
    echo "Fuzzers that found a fault: ${failed[*]}; inputs in $artifacts"
    exit 1
fi

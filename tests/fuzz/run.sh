#!/usr/bin/env bash
# Runs each fuzzer for the given seconds on a copy of the seed corpus.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-300}
here=$(cd "$(dirname "$0")" && pwd)
for target in ini expand image; do
    work=$(mktemp -d)
    cp "$here/corpus/$target/"* "$work/"
    echo "== ${target}_fuzz for ${seconds}s"
    "$build/bin/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -max_len=8192 \
        -print_final_stats=1 "$work" 2>&1 | grep -E '^(stat::|==|SUMMARY|Done|INFO: Seed)' || true
    rm -rf "$work"
done

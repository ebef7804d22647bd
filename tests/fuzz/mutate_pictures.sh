#!/usr/bin/env bash
# Runs tabulon-cli over 2,900 damaged pictures of every type (or as many as
# the third argument says) through every media placeholder, as the media test
# does with a few hundred. When the run fails, each picture is tried alone
# and the ones that fail are listed and kept in BUILD/mutation-failures.
#   tests/fuzz/mutate_pictures.sh [BUILD [TABULON-CLI [COUNT]]]
set -euo pipefail
build=${1:-build}
cli=${2:-$build/bin/tabulon-cli}
count=${3:-2900}
keep="$build/mutation-failures"
rm -rf "$keep"
TABULON_MUTANTS=$count TABULON_MUTATION_CLI=$(realpath "$cli") TABULON_MUTATION_KEEP=$(realpath -m "$keep") \
    nice -n 10 "$build/bin/media_tests" --gtest_filter='MutatedPictures.*'

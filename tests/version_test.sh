#!/usr/bin/env bash
# The three programs print one version: the project's.
# version_test.sh VERSION PROGRAM...
set -euo pipefail
want=$1
shift
for program in "$@"; do
    got=$("$program" --version)
    [[ $got == "$(basename "$program") $want" ]] || { echo "$program --version: '$got', not $want"; exit 1; }
done
echo "all print $want"

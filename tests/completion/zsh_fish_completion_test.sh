#!/usr/bin/env bash
# Checks the zsh and fish completions: both parse, both name every option the
# program's --help names, and fish (which completes without a terminal) offers
# the right candidates for a few command lines.
# Arguments: the completion folder, tabulon-cli, tabulon-host.
set -uo pipefail
completions=$(realpath "$1") cli=$(realpath "$2") host=$(realpath "$3")
command -v zsh >/dev/null && command -v fish >/dev/null || { echo "zsh or fish is not installed"; exit 77; }

failures=0
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}
options_of() {
    "$1" --help | grep -oE '(^|[ ,|])--?[a-z0-9][a-z0-9-]*' | sed 's/^[ ,|]//' | sort -u
}

for program in tabulon-cli tabulon-host; do
    zsh -n "$completions/zsh/_$program" || fail "zsh cannot parse _$program"
    fish --no-execute "$completions/fish/$program.fish" || fail "fish cannot parse $program.fish"
done

# zsh: every option named in the _arguments lines.
for option in $(options_of "$cli"); do
    grep -qE "(^|[' {,)*])$option([=+,}[]|$)" "$completions/zsh/_tabulon-cli" || fail "zsh does not offer $option"
done

# fish: what it offers for a command line, names only, sorted.
fish_offers() {
    fish --no-config -c "source $completions/fish/tabulon-cli.fish; source $completions/fish/tabulon-host.fish
        complete -C '$1'" | cut -f1 | sort
}
expect() {
    local actual expected
    actual=$(fish_offers "$1")
    expected=$(printf '%s\n' "${@:2}" | sort)
    [[ $actual == "$expected" ]] || fail "fish '$1': expected $(echo $expected), offered $(echo $actual)"
}
expect "tabulon-cli --so" --sort
expect "tabulon-cli --sort " none name natural date size taken
expect "tabulon-cli --thumb-format " same jpg png webp avif
expect "$cli --preset " $("$cli" --list-presets)
expect "tabulon-host " serve register run
expect "tabulon-host run "
[[ $(fish_offers "tabulon-cli -") == "$(options_of "$cli")" ]] || fail "fish does not offer exactly tabulon-cli's options"
missing=$(comm -23 <(options_of "$host") <(fish_offers "tabulon-host -"))
[[ -z $missing ]] || fail "fish does not offer tabulon-host's $missing"

((failures == 0)) || exit 1
echo "zsh and fish completions parse and offer what was expected"

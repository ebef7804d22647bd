#!/usr/bin/env bash
# Runs the bash completion functions for a few command lines and checks the
# candidates they offer.
# Arguments: the completion folder, tabulon-cli, tabulon-host.
set -uo pipefail
completions=$(realpath "$1") cli=$(realpath "$2") host=$(realpath "$3")

bash_completion=$(pkg-config --variable=prefix bash-completion 2>/dev/null)/share/bash-completion/bash_completion
[[ -r $bash_completion ]] || bash_completion=/usr/share/bash-completion/bash_completion
[[ -r $bash_completion ]] || { echo "bash-completion is not installed"; exit 77; }
# shellcheck source=/dev/null
source "$bash_completion"
source "$completions/bash/tabulon-cli"
source "$completions/bash/tabulon-host"

failures=0
# complete FUNCTION WORD... : COMPREPLY for the cursor at the end of the last word.
complete_line() {
    local function=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    "$function"
}
# expect WHAT EXPECTED... -- : the sorted candidates are exactly EXPECTED.
expect() {
    local what=$1
    shift
    local expected actual
    expected=$(printf '%s\n' "$@" | sort)
    actual=$(printf '%s\n' "${COMPREPLY[@]}" | sort)
    if [[ $actual != "$expected" ]]; then
        echo "FAIL $what"
        echo "  expected: $(echo $expected)"
        echo "  offered:  $(echo $actual)"
        failures=$((failures + 1))
    fi
}
# The options a program's --help names, one a line.
options_of() {
    "$1" --help | grep -oE '(^|[ ,|])--?[a-z0-9][a-z0-9-]*' | sed 's/^[ ,|]//' | sort -u
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir photos && touch page.html list.txt photos/a.jpg

complete_line _tabulon_cli "$cli" --so
expect "--so" --sort
complete_line _tabulon_cli "$cli" --sort ""
expect "--sort keys" none name natural date size taken
complete_line _tabulon_cli "$cli" --sort=na
expect "--sort=na" name natural
complete_line _tabulon_cli "$cli" --thumb-format ""
expect "--thumb-format values" same jpg png webp avif
complete_line _tabulon_cli "$cli" --preset ""
expect "--preset names" $("$cli" --list-presets)
complete_line _tabulon_cli "$cli" -r --preset css
expect "--preset css" css-grid
for option in -o --output -c --config -f --files-from; do
    complete_line _tabulon_cli "$cli" "$option" ""
    expect "$option files" page.html list.txt photos
done
complete_line _tabulon_cli "$cli" -o page.html photos/
expect "files to list" photos/a.jpg
complete_line _tabulon_cli "$cli" --title ""
expect "--title (free text)"

# Every option the program names is offered, and nothing else.
complete_line _tabulon_cli "$cli" -
expect "tabulon-cli options" $(options_of "$cli")
# Each offered key and format is one the program takes.
for key in none name natural date size taken; do
    "$cli" --sort "$key" page.html >/dev/null || { echo "FAIL tabulon-cli refuses --sort $key"; failures=$((failures + 1)); }
done
for format in same jpg png webp avif; do
    "$cli" --thumb-format "$format" page.html >/dev/null ||
        { echo "FAIL tabulon-cli refuses --thumb-format $format"; failures=$((failures + 1)); }
done

complete_line _tabulon_host "$host" ""
expect "host commands" serve register run
complete_line _tabulon_host "$host" r
expect "host r" register run
complete_line _tabulon_host "$host" --plugin ./tabulon ""
expect "host command after --plugin" serve register run
complete_line _tabulon_host "$host" run ""
expect "host after a command"
complete_line _tabulon_host "$host" run --plugin ""
expect "host --plugin files" page.html list.txt photos
# Every option the host names is offered.
complete_line _tabulon_host "$host" -
missing=$(comm -23 <(options_of "$host") <(printf '%s\n' "${COMPREPLY[@]}" | sort))
[[ -z $missing ]] || { echo "FAIL tabulon-host options not offered: $missing"; failures=$((failures + 1)); }

((failures == 0)) || exit 1
echo "bash completion offers what was expected"

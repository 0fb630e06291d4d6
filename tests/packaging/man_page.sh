#!/usr/bin/env bash
# The man page renders without a warning and names the same options and exit statuses as --help; the
# bash completion offers those options too. Exit 77 (skipped) without man.
# man_page.sh PROGRAM MAN-PAGE COMPLETION
set -uo pipefail
program=$1 page=$2 completion=$3
command -v man > /dev/null || { echo "SKIP: man is not installed"; exit 77; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" > "$work/page.txt" 2> "$work/warnings.txt"
[ -s "$work/warnings.txt" ] && fail "man warns: $(cat "$work/warnings.txt")"
"$program" --help > "$work/help.txt" || fail "--help failed"

options() { grep -oE -- '(^|[^a-zA-Z0-9-])--?[a-zA-Z][a-z-]*' "$1" | grep -oE -- '--?[a-zA-Z][a-z-]*' | sort -u; }
diff <(options "$work/help.txt") <(options "$work/page.txt") > "$work/options.diff" ||
  fail "options of --help (<) and of the man page (>) differ: $(cat "$work/options.diff")"
# Exit statuses: "N word" in the help's exit status lines; the man page's EXIT STATUS section.
help_codes=$(sed -n '/^Exit status/,$p' "$work/help.txt" | grep -oE '(^|[ ,:])[0-9]+ [a-z]' | grep -oE '[0-9]+' | sort -u)
page_codes=$(sed -n '/^EXIT STATUS/,/^[A-Z]/p' "$work/page.txt" | grep -oE '^ +[0-9]+( |$)' | tr -d ' ' | sort -u)
[ -n "$help_codes" ] && [ "$help_codes" = "$page_codes" ] ||
  fail "exit statuses of --help ($(echo $help_codes)) and of the man page ($(echo $page_codes)) differ"

if [ -f /usr/share/bash-completion/bash_completion ]; then
  offered=$(bash -c 'source /usr/share/bash-completion/bash_completion; source "$1"
    COMP_WORDS=(morvane-radio-tuner -); COMP_CWORD=1; COMP_LINE="morvane-radio-tuner -"; COMP_POINT=${#COMP_LINE}
    _morvane_radio_tuner; printf "%s\n" "${COMPREPLY[@]}"' _ "$completion")
  diff <(options "$work/help.txt" | grep -- '^--') <(sort -u <<< "$offered") > "$work/completion.diff" ||
    fail "long options of --help (<) and of the bash completion (>) differ: $(cat "$work/completion.diff")"
fi
[ "$failures" = 0 ] && echo PASS

#!/usr/bin/env bash
# Proposes mutants for one source file by operator rules, as records for mutants.txt: each line with
# a comparison, a condition or a bound yields one record per rule that applies to it. A record's
# pattern is the whole line, so it is unique where the line is; its fault is left for a person to
# write (a mutant nobody can name a user-visible fault for is either equivalent or not worth keeping).
# Usage: tools/mutation/generate.sh FILE
set -euo pipefail
file=${1:?usage: generate.sh FILE}
echo "file: $file"
awk '
function record(from, to, rule) {
    if (from == to) return
    printf "\nmutant: %s\ninto: %s\nfault: TODO (%s)\n", from, to, rule
}
# The first occurrence of the literal `op` in `text` replaced by `by`.
function swap(text, op, by,    at) {
    at = index(text, op)
    return at ? substr(text, 1, at - 1) by substr(text, at + length(op)) : text
}
{
    line = $0
    sub(/^[ \t]+/, "", line)
    sub(/[ \t]+$/, "", line)
    if (line ~ /^(\/\/|#|\*)/ || line == "") next
    if (index(line, "==")) record(line, swap(line, "==", "!="), "negated comparison")
    if (index(line, "!=")) record(line, swap(line, "!=", "=="), "negated comparison")
    if (index(line, "<=")) record(line, swap(line, "<=", "<"), "off-by-one bound")
    if (index(line, ">=")) record(line, swap(line, ">=", ">"), "off-by-one bound")
    if (match(line, / < /)) record(line, swap(line, " < ", " <= "), "off-by-one bound")
    if (match(line, / > /)) record(line, swap(line, " > ", " >= "), "off-by-one bound")
    if (index(line, "&&")) record(line, swap(line, "&&", "||"), "swapped connective")
    if (index(line, "||")) record(line, swap(line, "||", "&&"), "swapped connective")
    if (match(line, /^(} else )?if \(/)) {
        cond = substr(line, RSTART + RLENGTH)
        if (sub(/\) \{$/, ")) {", cond) || sub(/\)$/, "))", cond))
            record(line, substr(line, 1, RSTART + RLENGTH - 1) "!(" cond, "negated condition")
    }
    if (index(line, " + 1")) record(line, swap(line, " + 1", ""), "off-by-one bound")
    if (index(line, " - 1")) record(line, swap(line, " - 1", ""), "off-by-one bound")
    if (index(line, "return true")) record(line, swap(line, "return true", "return false"), "inverted result")
    if (index(line, "return false")) record(line, swap(line, "return false", "return true"), "inverted result")
}' "$file"

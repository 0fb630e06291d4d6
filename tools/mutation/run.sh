#!/usr/bin/env bash
# Mutation testing: each mutant of tools/mutation/mutants.txt is applied alone to a scratch copy of
# the committed code (a git worktree with its own build folder), built incrementally, and run against
# its file's tests; a mutant that survives them gets the whole suite. A mutant is killed when a test
# fails, survives when every test passes; one that does not build says nothing about the tests and is
# counted apart. Equivalent mutants are listed with their reason and not run.
#
# Usage: tools/mutation/run.sh [--check] [--only REGEX] [--first N] [--subset-only]
#   --check        only checks the list against the checkout: each pattern found once, each mutant
#                  with its fault or its reason
#   --only REGEX   only the mutants whose file, pattern or fault matches REGEX (grep -E)
#   --first N      at most N mutants
#   --subset-only  no whole-suite run for the survivors of their file's tests
# MUTATION_DIR (default build-mutation/ in the checkout) holds the worktree, its build and report.txt;
# MUTATION_TIMEOUT (default 900) limits one mutant's tests in seconds, MUTATION_TEST_TIMEOUT (default
# 120) one test.
set -uo pipefail
top=$(git rev-parse --show-toplevel) || exit 1
list=$top/tools/mutation/mutants.txt
scratch=${MUTATION_DIR:-$top/build-mutation}
only='' first=0 subsetOnly='' check=''
while [[ $# -gt 0 ]]; do
  case $1 in
    --only) only=$2; shift 2 ;;
    --first) first=$2; shift 2 ;;
    --subset-only) subsetOnly=yes; shift ;;
    --check) check=yes; shift ;;
    *) echo "usage: $0 [--check] [--only REGEX] [--first N] [--subset-only]" >&2; exit 2 ;;
  esac
done
mutantTimeout=${MUTATION_TIMEOUT:-900}
testTimeout=${MUTATION_TEST_TIMEOUT:-120}
src=$scratch/src build=$scratch/build report=$scratch/report.txt

# The scratch copy follows the commit checked out here; edits not yet committed are not in it.
prepare() {
  mkdir -p "$scratch"
  if [[ ! -e $src/.git ]]; then
    git -C "$top" worktree add -q --detach "$src" HEAD || return 1
  fi
  git -C "$src" checkout -q --detach -f "$(git -C "$top" rev-parse HEAD)" && git -C "$src" clean -qfd || return 1
  [[ -z $(git -C "$top" status --porcelain --untracked-files=no) ]] ||
    echo "mutation: uncommitted changes are not in the scratch copy (it has HEAD)"
  if [[ ! -e $build/CMakeCache.txt ]]; then
    # -O1: quicker to rebuild than the packaged -O2, and the codec's tests stay quick.
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_C_FLAGS=-O1 -DCMAKE_CXX_FLAGS=-O1 \
      -DMORVANE_HCA_SAMPLES_DIR="$(dirname "$top")/shared/samples/hca" > "$scratch/configure.log" || return 1
  fi
  # Only what the chosen mutants' tests need, when every one of their files names its targets.
  buildTargets=()
  [[ -z $subsetOnly ]] || cut -d$'\x1f' -f3 <<<"$chosen" | grep -qx '' ||
    read -ra buildTargets <<<"$(cut -d$'\x1f' -f3 <<<"$chosen" | tr ' ' '\n' | sort -u | tr '\n' ' ')"
  echo "mutation: building the scratch copy${buildTargets[*]:+ (${buildTargets[*]})}"
  cmake --build "$build" -j2 ${buildTargets[*]:+--target "${buildTargets[@]}"} > "$scratch/build.log" 2>&1 ||
    { echo "mutation: it does not build: $scratch/build.log"; return 1; }
}

# Records of the list, one a line: file, tests, targets, pattern, replacement, fault, equivalent,
# each field ending in the unit separator.
records() {
  local file='' tests='' targets='' mutant='' into='' fault='' equivalent='' have=''
  emit() {
    [[ -n $have ]] && printf '%s\x1f' "$file" "$tests" "$targets" "$mutant" "$into" "$fault" "$equivalent" && printf '\n'
    have='' mutant='' into='' fault='' equivalent=''
  }
  while IFS= read -r line || [[ -n $line ]]; do
    case $line in
      'file: '*) emit; file=${line#file: } tests='' targets='' ;;
      'tests: '*) tests=${line#tests: } ;;
      'targets: '*) targets=${line#targets: } ;;
      'mutant: '*) emit; mutant=${line#mutant: } have=yes ;;
      'into:'*) into=${line#into:}; into=${into# } ;;
      'fault: '*) fault=${line#fault: } ;;
      'equivalent: '*) equivalent=${line#equivalent: } ;;
    esac
  done < "$list"
  emit
}

# How many times the literal `pattern` occurs in `text`.
occurrences() {
  local text=$1 pattern=$2 count=0
  while [[ $text == *"$pattern"* ]]; do
    text=${text#*"$pattern"}
    count=$((count + 1))
  done
  echo $count
}

# ctest on the scratch build, quietly; its status.
tests() {
  timeout "$mutantTimeout" ctest --test-dir "$build" -LE display --timeout "$testTimeout" -j2 --stop-on-failure "$@" \
    > "$scratch/ctest.log" 2>&1
}

# One mutant: applied, built, tested, taken back. Prints its outcome.
run_one() {
  local file=$1 tests_=$2 targets=$3 pattern=$4 into=$5 text status
  text=$(< "$src/$file") || { echo missing; return; }
  if [[ $(occurrences "$text" "$pattern") != 1 ]]; then
    echo "not-unique"
    return
  fi
  printf '%s\n' "${text/"$pattern"/"$into"}" > "$src/$file"
  # shellcheck disable=SC2086
  if ! cmake --build "$build" -j2 ${targets:+--target $targets} > "$scratch/mutant-build.log" 2>&1; then
    status=stillborn
  elif ! tests ${tests_:+-R "$tests_"}; then
    status=killed
  elif [[ -z $subsetOnly && -n $tests_ ]] && ! tests; then
    status=killed-by-suite
  else
    status=survived
  fi
  git -C "$src" checkout -q -- "$file"
  echo $status
}

# The list against the checkout as it is now.
check_list() {
  local bad=0 file tests_ targets pattern into fault equivalent found
  while IFS=$'\x1f' read -r file tests_ targets pattern into fault equivalent; do
    found=$(occurrences "$(< "$top/$file")" "$pattern")
    if [[ $found != 1 ]]; then
      echo "$file: found $found times: $pattern"
      bad=1
    fi
    if [[ -z $fault$equivalent ]]; then
      echo "$file: no fault and no reason: $pattern"
      bad=1
    fi
  done < <(records)
  echo "mutation: $(records | wc -l) mutants checked"
  return $bad
}

if [[ -n $check ]]; then
  check_list
  exit
fi
# The mutants chosen, as records.
chosen=''
n=0
while IFS= read -r record; do
  IFS=$'\x1f' read -r file _ _ pattern _ fault equivalent <<<"$record"
  [[ -z $only ]] || printf '%s\n' "$file $pattern $fault" | grep -qE -- "$only" || continue
  if [[ -z $equivalent ]]; then
    [[ $first -gt 0 && $n -ge $first ]] && continue
    n=$((n + 1))
  fi
  chosen+=$record$'\n'
done < <(records)
chosen=${chosen%$'\n'}
[[ -n $chosen ]] || { echo "mutation: no mutant chosen"; exit 2; }

prepare || exit 1
# The tests the mutants will meet must pass on the unchanged copy: their files' own tests, and the
# whole suite when survivors get it.
echo "mutation: checking that the tests pass on the unchanged copy"
if [[ -n $subsetOnly ]]; then
  baseline=$(cut -d$'\x1f' -f2 <<<"$chosen" | sort -u | paste -sd'|')
  tests ${baseline:+-R "$baseline"}
else
  tests
fi || { echo "mutation: the unchanged copy fails its tests: $scratch/ctest.log"; exit 1; }
: > "$report"
declare -A count
while IFS=$'\x1f' read -r file tests_ targets pattern into fault equivalent; do
  if [[ -n $equivalent ]]; then
    outcome=equivalent
  else
    outcome=$(run_one "$file" "$tests_" "$targets" "$pattern" "$into" < /dev/null)
  fi
  count[$outcome]=$((${count[$outcome]:-0} + 1))
  line="$outcome	$file	$pattern  =>  $into	${equivalent:-$fault}"
  echo "$line" >> "$report"
  echo "$line"
done <<<"$chosen"
cmake --build "$build" -j2 ${buildTargets[*]:+--target "${buildTargets[@]}"} > /dev/null 2>&1
killed=$((${count[killed]:-0} + ${count[killed-by-suite]:-0}))
survived=${count[survived]:-0}
echo
echo "killed $killed (by the whole suite only: ${count[killed-by-suite]:-0}), survived $survived," \
  "equivalent ${count[equivalent]:-0}, did not build ${count[stillborn]:-0}," \
  "pattern not found once ${count[not-unique]:-0}"
[[ $((killed + survived)) -gt 0 ]] && echo "killed $((100 * killed / (killed + survived)))% of the mutants run"
echo "report: $report"
grep -P '^(survived|not-unique|missing)\t' "$report"
[[ $survived -eq 0 ]]

#!/bin/sh
# Test code against product code: lines of .cpp .h .scn .sh .py under tests/ against lines of
# .cpp .h .in under Files/ app/ platform/ tools/ data/. Run from anywhere in the checkout.
cd "$(git rev-parse --show-toplevel)" || exit 1
count() { find "$@" -type f 2>/dev/null | xargs cat 2>/dev/null | wc -l; }
tests=$(count tests \( -name '*.cpp' -o -name '*.h' -o -name '*.scn' -o -name '*.sh' -o -name '*.py' \))
product=$(count Files app platform tools data \( -name '*.cpp' -o -name '*.h' -o -name '*.in' \))
echo "tests $tests lines, product $product lines: tests are $((100 * tests / product))% of product code"

#!/usr/bin/env bash
# check-imports.sh FILE...: fails when a Windows program or DLL imports a DLL outside system-dlls.txt.
set -euo pipefail
allowed=$(grep -v '^#' "$(dirname "$0")/system-dlls.txt" | tr 'A-Z' 'a-z')
status=0
for file in "$@"; do
  imports=$(x86_64-w64-mingw32-objdump -p "$file" | awk '/DLL Name:/ {print tolower($3)}')
  [[ -n $imports ]] || { echo "$file: no import table read"; status=1; }
  for dll in $imports; do
    grep -qxF "$dll" <<<"$allowed" || { echo "$file imports $dll, which Windows does not ship"; status=1; }
  done
done
exit $status

#!/usr/bin/env bash
# The set-up script while another package manager holds apt's lock: it waits, says so, and goes on
# once the lock is free; it gives up with a message at its time limit; any other failure of apt-get
# ends it at once. apt-get and sudo are stand-ins here, so nothing is installed.
# install_deps_waits.sh INSTALL-DEPS
set -uo pipefail
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
mkdir "$work/bin"
# The stand-in fails as apt-get does while the count in $work/held is above zero, one try at a time.
cat > "$work/bin/apt-get" << 'STANDIN'
#!/bin/sh
echo "$1" >> "$WORK/calls"
held=$(cat "$WORK/held")
if [ "$held" -gt 0 ]; then
  echo $((held - 1)) > "$WORK/held"
  echo "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 (apt-get)" >&2
  exit 100
fi
[ "$1" != install ] || [ -z "$BROKEN" ] || { echo "E: Unable to locate package $BROKEN" >&2; exit 100; }
STANDIN
printf '#!/bin/sh\nexec "$@"\n' > "$work/bin/sudo"
chmod +x "$work/bin/apt-get" "$work/bin/sudo"
# deps HELD WAIT [BROKEN]: the script for a package that is not installed, its status in $status.
deps() {
  echo "$1" > "$work/held"
  : > "$work/calls"
  PATH="$work/bin:$PATH" WORK=$work BROKEN=${3:-} MORVANE_APT_WAIT=$2 MORVANE_APT_RETRY=0.1 \
    "$script" morvane-absent-package > /dev/null 2> "$work/err"
  status=$?
  calls=$(tr '\n' ' ' < "$work/calls")
}

deps 3 60
[ "$status" = 0 ] || fail "with the lock held for three tries: status $status: $(cat "$work/err")"
[ "$calls" = "update update update update install " ] || fail "with the lock held for three tries, apt-get ran: $calls"
grep -q "holds apt's lock; waiting" "$work/err" || fail "no word of the wait: $(cat "$work/err")"

deps 1000000 1
[ "$status" != 0 ] || fail "the lock never freed, yet the script succeeded"
grep -q "still holds apt's lock after 1 s; giving up" "$work/err" && grep -q "Could not get lock" "$work/err" ||
  fail "giving up said: $(cat "$work/err")"
[[ $calls != *install* ]] || fail "the install ran after update gave up"

deps 0 60 missing-one
[ "$status" != 0 ] && [ "$calls" = "update install " ] || fail "another failure: status $status, apt-get ran: $calls"
grep -q "Unable to locate package missing-one" "$work/err" || fail "the failure's reason is lost: $(cat "$work/err")"
[ "$failures" = 0 ] && echo "install-deps: waits for apt's lock, gives up at the limit, stops at other failures"
exit $((failures > 0))

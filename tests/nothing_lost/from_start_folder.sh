#!/bin/sh
# Runs a command (a scenario) from a fresh folder standing for the one the user started the tool
# in, so the scenario can put the user's own files there and check that they stay untouched.
set -e
start=$(mktemp -d)
trap 'rm -rf "$start"' EXIT
cd "$start"
"$@"

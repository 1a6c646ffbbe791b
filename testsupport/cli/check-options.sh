#!/usr/bin/env bash
# check-options.sh PROGRAM: the program answers --help with its usage on standard output and
# status 0, and refuses an unknown option with a message and status 2, creating no file.
set -u
program=$1
name=$(basename "$program")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

out=$("$program" --help 2>/dev/null); status=$?
[[ $status -eq 0 ]] || { echo "$name --help: status $status"; exit 1; }
grep -qi "usage" <<<"$out" || { echo "$name --help: no usage text"; exit 1; }
[[ -z "$(ls -A)" ]] || { echo "$name --help created files: $(ls -A)"; exit 1; }

err=$("$program" --no-such-option 2>&1 >/dev/null); status=$?
[[ $status -eq 2 ]] || { echo "$name --no-such-option: status $status"; exit 1; }
grep -q -- "--no-such-option" <<<"$err" || { echo "$name: the message does not name the option"; exit 1; }
[[ -z "$(ls -A)" ]] || { echo "$name --no-such-option created files: $(ls -A)"; exit 1; }
echo "$name: --help and unknown options handled"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Bad arguments and bad key input must give exit status 2, a message on standard error and
# nothing on standard output, before any key runs.
replay=$1
failures=0
check() {  # description, keys (printf format), arguments...
  local what=$1 keys=$2
  shift 2
  local out err status
  err=$(mktemp)
  out=$(printf "$keys" | "$replay" "$@" 2>"$err")
  status=$?
  if [ "$status" -ne 2 ] || [ -n "$out" ] || [ ! -s "$err" ]; then
    echo "FAIL: $what (status $status, stdout '${out:0:60}', stderr '$(head -c 200 "$err")')"
    failures=$((failures + 1))
  fi
  rm -f "$err"
}
check "unknown option" '1' --frobnicate
check "decimals without value" '1' --decimals
check "decimals not a number" '1' --decimals x2
check "decimals absurd" '1' --decimals 99999999999
check "separator of two characters" '1' --decimal-separator ',,'
check "empty separator" '1' --thousands-separator ''
check "separator without a Windows-1252 byte" '1' --decimal-separator '€€'
check "character without a Windows-1252 byte" '1\xe2\x88\x9a2'
check "invalid UTF-8" '1\xff2'
check "truncated UTF-8" '1\xc3'
check "overlong UTF-8" '\xc0\xaf'
check "backslash escape" '1\\n'
check "backslash at the end" '1\\'
check "click without digit" '1@'
check "click on tag 7" '@7'
check "bad key after good keys" '12+3=\\q'
if [ "$failures" -ne 0 ]; then exit 1; fi
echo "all bad inputs rejected"

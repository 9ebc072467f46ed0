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
check "paste cut short" '1\\v5:12'
check "paste length without colon" '\\v5x12345'
check "table that is no table" '\\t5:abcde'
check "mark without a command" '1\\m1;'
check "two marks" '\\m1;\\m1;='
check "start record after a key" '1\\i3:1 1'
check "start record of a newer version" '\\i59:2 44 46 2 1 3:Pts 2 1 0: 2 1 0: 2 1 0: 2 1 0: 2 1 0: 2 1 0:'
if [ "$failures" -ne 0 ]; then exit 1; fi
echo "all bad inputs rejected"

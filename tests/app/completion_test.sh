#!/usr/bin/env bash
# The bash completion offers the options, and the values of --width and --base.
#   completion_test.sh COMPLETION_FILE
set -u
# shellcheck source=/dev/null
source "$1"
status=0
expect() {  # expect "WORDS..." "COMPLETIONS"
  read -r -a COMP_WORDS <<<"$1"
  [[ $1 == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _radixpad
  local got="${COMPREPLY[*]}"
  if [[ $got != "$2" ]]; then
    echo "for '$1': got '$got', expected '$2'"
    status=1
  fi
}
expect "radixpad --t" "--toggle"
expect "radixpad --pr" "--print"
expect "radixpad /" "/uninstall"
expect "radixpad --print --w" "--width"
expect "radixpad --print --width " "8 16 32 64"
expect "radixpad --print --base h" "hex"
expect "radixpad --print --json --u" "--unsigned"
expect "radixpad --print -- --w" ""
expect "radixpad --show --w" ""
exit $status

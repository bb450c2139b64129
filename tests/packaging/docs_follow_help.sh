#!/usr/bin/env bash
# docs_follow_help.sh CLI MANPAGE README COMPLETION
# The documentation follows the program: every command varnock-cli's --help lists is described
# in the man page and shown in README's command list, and every option of every command's
# --help is in the man page. The commands and options are read through the bash completion
# installed with the package, so the completion is checked on the way.
set -euo pipefail
cli=$1 manpage=$2 readme=$3 completion=$4
# shellcheck source=/dev/null
source "$completion"

failures=0
missing() {
  echo "missing: $*" >&2
  failures=$((failures + 1))
}

# complete WORD...: what the completion offers after the words typed.
complete_words() {
  COMP_WORDS=("$(basename "$cli")" "$@")
  COMP_CWORD=$#
  _varnock_cli "$cli"
  printf '%s\n' "${COMPREPLY[@]}"
}

mapfile -t commands < <(complete_words "")
# A help text the completion cannot read would leave nothing to check.
[[ " ${commands[*]} " == *" apply "* && " ${commands[*]} " == *" remove "* ]] ||
  { echo "the commands cannot be read from $cli --help: '${commands[*]}'" >&2; exit 1; }

for command in "${commands[@]}"; do
  grep -Eq "^\.BI? \"?$command( |\"|\$)" "$manpage" || missing "command $command in $manpage"
  grep -q "varnock-cli $command " "$readme" || missing "command $command in $readme"
  mapfile -t options < <(complete_words "$command" -)
  [ "${#options[@]}" -gt 0 ] || missing "options of $command from its --help"
  for option in "${options[@]}"; do
    grep -qF -- "${option//-/\\-}" "$manpage" || missing "option $option of $command in $manpage"
  done
done
[ "$failures" -eq 0 ] || exit 1
echo "${#commands[@]} commands and their options are in $(basename "$manpage") and $(basename "$readme")"

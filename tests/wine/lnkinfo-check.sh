#!/usr/bin/env bash
# Reads the shortcut that wine_shell saved with lnkinfo, a reader of the shell-link format
# that owes nothing to Wine's or to ours, and compares its local path and working directory
# with what the test expected. (lnkinfo misreports the show command; wine_shell reads that
# field itself.)
#   lnkinfo-check.sh LINK EXPECTED   (EXPECTED: the target path, then the working directory)
set -euo pipefail
link=$1
{ read -r target; read -r workdir; } <"$2"
out=$(lnkinfo "$link")
field() { sed -n "s/^[[:space:]]*$1[[:space:]]*: //p" <<<"$out"; }
status=0
for pair in "Local path|$target" "Working directory|$workdir"; do
  name=${pair%%|*} want=${pair#*|}
  got=$(field "$name")
  if [ "$got" != "$want" ]; then
    echo "$name: lnkinfo reads '$got', expected '$want'" >&2
    status=1
  fi
done
[ $status = 0 ] && echo "lnkinfo agrees: $target, $workdir"
exit $status

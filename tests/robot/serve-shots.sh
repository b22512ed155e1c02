#!/usr/bin/env bash
# Runs a command (a Windows program under the bench's Wine) and takes the screenshots that it
# asks for: it writes a file name into $PV_SHOTS\.shot-request, and this script saves
# `import -window root` of the X screen under that name in SHOT_DIR, then deletes the request.
# The file name's extension picks the format (.png to look at, .ppm for pixel checks).
#   tests/robot/serve-shots.sh SHOT_DIR COMMAND...
# Needs DISPLAY and the Wine prefix of scripts/winebench.sh; exits with the command's code.
set -uo pipefail
shots=$(mkdir -p "$1" && cd "$1" && pwd)
shift
# The prefix maps drive Z: to the root of the host's file system.
export PV_SHOTS="Z:${shots//\//\\}"
request="$shots/.shot-request"
rm -f "$request" "$request.tmp"

"$@" &
pid=$!
while kill -0 "$pid" 2>/dev/null; do
  if [ -e "$request" ]; then
    name=$(cat "$request")
    case "$name" in
      */* | *\\* | .* | "") echo "serve-shots: refused the name '$name'" >&2 ;;
      *) import -window root -depth 8 "$shots/$name" || echo "serve-shots: import failed for $name" >&2 ;;
    esac
    rm -f "$request"
  fi
  sleep 0.05
done
wait "$pid"

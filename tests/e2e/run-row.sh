#!/usr/bin/env bash
# One end-to-end row, inside the Wine bench:
#   run-row.sh DISK_SET ROBOT SHOT_DIR STEP...
# Drive A: becomes a fresh copy of the set's disk 1, the robot's clean.txt removes what
# earlier runs installed, then each STEP runs: a scenario file for the robot, or
# `list-uninstallers`, which checks that Wine's uninstaller lists Pictavorn.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
set_dir=$(readlink -f "$1")
robot=$2
shots=$3
shift 3
. "$here/../../scripts/wine-loader.sh"
: "${WINEPREFIX:?run inside scripts/winebench.sh}"

winpath() { echo "Z:${1//\//\\}"; }

# The drive is a folder of its own, so that a scenario can change the disk in it.
drive=$(dirname "$set_dir")/drive-a
rm -rf "$drive"
cp -r "$set_dir/disk1" "$drive"
ln -sfn "$drive" "$WINEPREFIX/dosdevices/a:"
export PV_DISKS=$(winpath "$set_dir")

robot_run() {
  bash "$here/../robot/serve-shots.sh" "$shots" "$here/../../scripts/wine-run" "$robot" "$1"
}

robot_run "$here/clean.txt"
for step in "$@"; do
  case "$step" in
    */list-uninstallers)
      listed=$("$PV_WINE" uninstaller --list 2>/dev/null | tr -d '\r')
      echo "wine uninstaller --list:"
      echo "$listed" | sed 's/^/  /'
      grep -q '|||Pictavorn$' <<<"$listed" || { echo "Pictavorn is not listed"; exit 1; }
      ;;
    *) robot_run "$step" ;;
  esac
done

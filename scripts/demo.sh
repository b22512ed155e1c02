#!/usr/bin/env bash
# make demo: a whole installation of the demo product from two disks under Wine.
# With a display ($DISPLAY) and a terminal, the setup runs on the user's screen and the user
# answers; otherwise it runs in a private Xvfb, the robot answers every question with its
# default and swaps disk 2 in at the prompt, and screenshots land in build/demo/.
#   scripts/demo.sh BUILD_DIR
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(dirname "$here")
build=$(cd "$1" && pwd)
. "$here/wine-loader.sh"
wintest=$build/wintest-$PV_TEST_ARCH
sets=$wintest/e2e
demo=$build/demo
[ -e "$sets/setup/disk1/SETUP.EXE" ] || { echo "demo: no disks in $sets (make wintest)" >&2; exit 1; }

if [ -n "${DISPLAY:-}" ] && [ -t 0 ] && [ -z "${PV_DEMO_ROBOT:-}" ]; then
  export PV_USE_DISPLAY=1 PV_DEMO_MODE=user
else
  export PV_DEMO_MODE=robot
  unset PV_USE_DISPLAY
fi
rm -rf "$demo"
mkdir -p "$demo"
cp -r "$sets/setup/disk1" "$sets/setup/disk2" "$demo/"
echo "The demo disks (SETUP.EXE and the product's volumes, made by pictdisk):"
for d in "$demo"/disk*; do
  for f in "$d"/*; do printf '  %s/%-14s %9d bytes\n' "$(basename "$d")" "$(basename "$f")" "$(stat -c %s "$f")"; done
done
if [ "$PV_TEST_ARCH" != i686 ]; then
  echo "(This machine cannot run 32-bit code: the demo runs the 64-bit build of the same sources."
  echo " The product's 32-bit SETUP.EXE is $build/win32/SETUP.exe.)"
fi
exec bash "$here/winebench.sh" "$build" bash "$here/demo-run.sh" "$build" "$wintest" "$demo"

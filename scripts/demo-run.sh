#!/usr/bin/env bash
# The demo's run inside the Wine bench (called by scripts/demo.sh).
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(dirname "$here")
build=$1 wintest=$2 demo=$3
winpath() { echo "Z:${1//\//\\}"; }
robot() { bash "$root/tests/robot/serve-shots.sh" "$demo" "$here/wine-run" "$wintest/robot.exe" "$@"; }

# Drive A: holds disk 1.
drive=$demo/drive-a
cp -r "$demo/disk1" "$drive"
ln -sfn "$drive" "$WINEPREFIX/dosdevices/a:"
export PV_DISKS=$(winpath "$demo")
robot "$root/tests/e2e/clean.txt" >/dev/null

if [ "$PV_DEMO_MODE" = user ]; then
  echo "Starting A:\\SETUP.EXE on your screen. When it asks for disk 2, come back here and"
  echo "press Enter: that takes disk 1 out of drive A: and puts disk 2 in."
  "$here/wine-run" 'A:\SETUP.EXE' &
  setup=$!
  while kill -0 "$setup" 2>/dev/null; do
    if read -r -t 1 _; then
      ln -sfn "$demo/disk2" "$WINEPREFIX/dosdevices/a:"
      echo "Disk 2 is in drive A: now; answer OK in the setup's prompt."
    fi
  done
  wait "$setup" || true
else
  echo "Running A:\\SETUP.EXE in a private screen; the robot answers every question."
  robot "$root/tests/e2e/demo.txt" | tee "$demo/robot.log"
fi

# What the installation left.
dest=$(find "$WINEPREFIX/drive_c/Program Files" -maxdepth 1 -iname Pictavorn | head -1)
echo
if [ -z "$dest" ]; then
  echo "Pictavorn was not installed."
  exit 0
fi
echo "Pictavorn was installed into C:\\Program Files\\$(basename "$dest") ($dest):"
( cd "$dest" && for f in *; do printf '  %-14s %9d bytes\n' "$f" "$(stat -c %s "$f")"; done )
help=$(find "$WINEPREFIX/drive_c/windows" -maxdepth 2 -ipath "*/help/Pictavrn.HLP" | head -1)
[ -n "$help" ] && printf '  and C:\\windows\\Help\\%s %d bytes\n' "$(basename "$help")" "$(stat -c %s "$help")"
link=$(find "$WINEPREFIX/drive_c/users" -ipath '*Start Menu/Programs/Pictavorn.LNK' | head -1)
echo
if [ -n "$link" ]; then
  echo "The Start-menu shortcut: $link"
  if command -v lnkinfo >/dev/null; then
    lnkinfo "$link" 2>/dev/null | grep -E 'Local path|Working directory' | sed 's/^\s*/  /'
  fi
else
  echo "No Start-menu shortcut was made."
fi
echo
echo "The uninstall entry:"
"$PV_WINE" reg query 'HKLM\Software\microsoft\windows\currentversion\uninstall\Pictavorn' 2>/dev/null |
  tr -d '\r' | grep -v '^$' | sed 's/^/  /' || echo "  none"
if [ -e "$demo/robot.log" ]; then
  clock() { awk -v n="$1" '$2 == "clock" && $3 == n {print $4}' "$demo/robot.log"; }
  echo
  echo "Time taken (the robot's clock, ms):"
  echo "  copying volume 1 (dialog open to the disk 2 prompt):       $(( $(clock prompt) - $(clock copying) ))"
  echo "  copying volume 2 (disk 2 in to the unpacking dialog):      $(( $(clock unpacking) - $(clock swapped) ))"
  echo "  unpacking and splitting (to the group dialog, with a shot): $(( $(clock group) - $(clock unpacking) ))"
  echo
  echo "Screenshots of every screen: $demo/*.png"
fi

#!/usr/bin/env bash
# A small disk for the tests of a destination that fills up: a 1 MiB tmpfs mounted at FOLDER
# and mapped to DRIVE of the Wine prefix. Where no tmpfs can be mounted the tests that need
# it are skipped (they look for small-disk.txt on the drive).
#   small-disk.sh up|down FOLDER DRIVE
set -u
action=$1 folder=$2 drive=$3
link=${WINEPREFIX:?the Wine bench sets WINEPREFIX}/dosdevices/$drive
case $action in
up)
  mkdir -p "$folder"
  mountpoint -q "$folder" && umount -l "$folder"
  if mount -t tmpfs -o size=1m pv-small-disk "$folder" 2>/dev/null; then
    echo "a 1 MiB disk for the package tests" >"$folder/small-disk.txt"
    ln -sfn "$folder" "$link"
    echo "small disk: $folder as $drive"
  else
    rm -f "$link"
    echo "small disk: no tmpfs could be mounted here; the tests that need it are skipped"
  fi
  ;;
down)
  rm -f "$link"
  mountpoint -q "$folder" && umount -l "$folder"
  ;;
esac
exit 0

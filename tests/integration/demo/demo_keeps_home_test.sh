#!/usr/bin/env bash
# ./run demo saves with autostart off on its way out, which removes the autostart entry in the
# home it runs in: a user's own entry, and everything else in their home, must come through it.
# demo_keeps_home_test.sh <source folder> <build folder>
set -euo pipefail
source_dir=$1 build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$source_dir/scripts/lib/private-home.sh"
private_home "$work/user"

entry=$XDG_CONFIG_HOME/autostart/QRV@Skype.desktop
mkdir -p "$(dirname "$entry")"
printf '[Desktop Entry]\nType=Application\nName=QRV@Skype\nExec=/usr/bin/tarnix-usbphone\n' >"$entry"
find "$work/user" -printf '%p %s\n' | sort >"$work/before"

TARNIX_BUILD_DIR=$build "$source_dir/scripts/demo" >"$work/demo.log" 2>&1 || { cat "$work/demo.log"; exit 1; }
grep -q 'The driver saved config.xml on the way out.' "$work/demo.log" || { cat "$work/demo.log"; exit 1; }
find "$work/user" -printf '%p %s\n' | sort | diff -u "$work/before" - || {
  echo "FAIL: the demo changed the user's home"; exit 1; }
echo "the user's home came through the demo unchanged"

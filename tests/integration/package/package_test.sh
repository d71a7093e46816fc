#!/usr/bin/env bash
# The .deb as a user gets it: its name, files and dependencies, lintian's verdict, and the program
# unpacked from it (dpkg-deb -x) and run from a read-only tree as from /usr, headless, in a home
# of its own: it keeps its settings in the XDG configuration folder and writes nothing beside
# itself.
# package_test.sh <build folder> <version>
set -euo pipefail
build=$1 version=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
source "$here/../../../scripts/lib/private-home.sh"
private_home "$work/session"

fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail cpack; }
deb=$work/out/tarnix-usbphone_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb: $(ls "$work/out")"

dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort >"$work/files"
diff -u - "$work/files" <<'FILES' || fail "the package's files differ"
./usr/bin/tarnix-usbphone
./usr/lib/udev/rules.d/70-tarnix-usbphone.rules
./usr/share/applications/org.tarnix.UsbPhone.desktop
./usr/share/doc/tarnix-usbphone/changelog.gz
./usr/share/doc/tarnix-usbphone/copyright
./usr/share/icons/hicolor/scalable/apps/org.tarnix.UsbPhone.svg
./usr/share/man/man1/tarnix-usbphone.1.gz
./usr/share/metainfo/org.tarnix.UsbPhone.metainfo.xml
./usr/share/tarnix-usbphone/locale.xml
FILES
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6dbus6 libudev1 libasound2 libx11-6; do
  [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t)
for script in postinst postrm; do
  grep -qx "./$script" <<<"$control" || fail "no $script"
done

# Warnings kept are listed in NOTES.md; any error fails.
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian found errors"

root=$work/root
dpkg-deb -x "$deb" "$root"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.tarnix.UsbPhone.metainfo.xml" >/dev/null ||
  fail "appstreamcli rejects the metainfo"
! desktop-file-validate "$root/usr/share/applications/org.tarnix.UsbPhone.desktop" | grep -E 'error|warning' ||
  fail "desktop-file-validate finds fault with the desktop entry"
chmod -R a-w "$root"
program=$root/usr/bin/tarnix-usbphone
[ "$("$program" --version)" = "tarnix-usbphone $version" ] || fail "--version: $("$program" --version)"

find "$root" -printf '%p %s\n' | sort >"$work/before"
env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS -u JOURNAL_STREAM "$program" 2>"$work/log" &
pid=$!
for _ in $(seq 100); do
  grep -q 'tarnix.program: running' "$work/log" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
grep -q 'tarnix.program: running' "$work/log" || { cat "$work/log"; fail "the program did not come up"; }
kill -TERM "$pid"
wait "$pid" || { cat "$work/log"; fail "the program did not end cleanly"; }
[ -f "$XDG_CONFIG_HOME/tarnix-usbphone/config.xml" ] || { cat "$work/log"; fail "no config.xml in $XDG_CONFIG_HOME"; }
find "$root" -printf '%p %s\n' | sort | diff -u "$work/before" - || fail "the program wrote under its tree"
echo "package test passed: $(basename "$deb")"

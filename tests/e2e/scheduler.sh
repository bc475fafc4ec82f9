#!/usr/bin/env bash
# The scheduler in a fresh prefix of its own, on a virtual desktop whose taskbar shows the tray:
# both programs under C:\Program Files\Quillon, the stand-in installer as C:\Setup\MySetup.exe,
# drive X: "SMALL" with junk files of several ages, drive Y: "PLAIN" of 20,000 empty files; the
# junk the scheduled tasks remove lands in the Recycle Bin.
# Arguments: Quillon.exe, Quillon Scheduler.exe, MySetup.exe, the probe.
source "$(dirname "$0")/../../scripts/lib/fresh-prefix.sh"
tray_desktop
cp "$1" "$program/Quillon.exe"
cp "$2" "$program/Quillon Scheduler.exe"
install -D "$3" "$WINEPREFIX/drive_c/Setup/MySetup.exe"
cp "$4" "$WINEPREFIX/drive_c/probe.exe"
drive x SMALL
drive y PLAIN
(cd "$work/drive-y" && seq -f 'plain%g.txt' 20000 | xargs touch)
mkdir "$work/drive-x/Junk"
for file in old.tmp:2 trace.log:30 today.tmp:0 install.log:30 notes.txt:30 keep.bak:30 again.txt:3; do
  head -c 1000 /dev/zero >"$work/drive-x/Junk/${file%:*}"
  touch -d "${file#*:} days ago" "$work/drive-x/Junk/${file%:*}"
done

"$WINELOADER" 'C:\probe.exe' --gtest_color=no </dev/null
trashed=$(ls "$XDG_DATA_HOME/Trash/files" 2>/dev/null | sort | tr '\n' ' ')
[[ "$trashed" == "again.tmp old.tmp trace.log " ]] || { echo "the Recycle Bin holds: '$trashed'"; exit 1; }

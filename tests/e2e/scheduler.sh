#!/usr/bin/env bash
# The scheduler in a fresh prefix of its own, on a virtual desktop whose taskbar shows the tray:
# both programs under C:\Program Files\Quillon, the stand-in installer as C:\Setup\MySetup.exe and
# drive X: "SMALL", where it installs. Arguments: Quillon.exe, Quillon Scheduler.exe, MySetup.exe, the probe.
source "$(dirname "$0")/../../scripts/lib/fresh-prefix.sh"
tray_desktop
cp "$1" "$program/Quillon.exe"
cp "$2" "$program/Quillon Scheduler.exe"
install -D "$3" "$WINEPREFIX/drive_c/Setup/MySetup.exe"
cp "$4" "$WINEPREFIX/drive_c/probe.exe"
drive x SMALL
"$WINELOADER" 'C:\probe.exe' --gtest_color=no </dev/null

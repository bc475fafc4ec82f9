#!/usr/bin/env bash
# The scheduler in a fresh prefix on a virtual desktop whose taskbar shows the tray, the stand-in
# installer in C:\Setup. Arguments: Quillon.exe, Quillon Scheduler.exe, MySetup.exe, the probe.
source "$(dirname "$0")/../../scripts/lib/fresh-prefix.sh"
tray_desktop
cp "$1" "$program/Quillon.exe"
cp "$2" "$program/Quillon Scheduler.exe"
install -D "$3" "$WINEPREFIX/drive_c/Setup/MySetup.exe"
cp "$4" "$WINEPREFIX/drive_c/probe.exe"
drive x SMALL
"$WINELOADER" 'C:\probe.exe' --gtest_color=no </dev/null

#!/usr/bin/env bash
# The scheduler in a fresh prefix on a virtual desktop whose taskbar shows the tray, the stand-in
# installer in C:\Setup. Arguments: Quillon.exe, Quillon Scheduler.exe, MySetup.exe, the probe.
source "$(dirname "$0")/prefix.sh"
tray_desktop
mkdir "$WINEPREFIX/drive_c/Setup" && mv "$program/MySetup.exe" "$WINEPREFIX/drive_c/Setup/"
drive x SMALL
probe

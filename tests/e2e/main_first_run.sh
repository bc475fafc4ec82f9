#!/usr/bin/env bash
# First start of Quillon.exe on a new machine: a fresh Wine prefix with two more fixed drives
# (D: "DATA", E: "TOOLS") and no Z: (the Linux root), the program installed under
# C:\Program Files\Quillon. The probe starts it and checks the registry and the window.
# Arguments: Quillon.exe, the probe executable.
set -euo pipefail
quillon_exe=$1
probe_exe=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/quillon-e2e.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
cleanup() { wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"; }
trap cleanup EXIT

"$WINELOADER" wineboot -i >/dev/null 2>&1 || true
wineserver -w
mkdir -p "$work/d" "$work/e"
echo DATA >"$work/d/.windows-label"
echo TOOLS >"$work/e/.windows-label"
ln -sfn "$work/d" "$WINEPREFIX/dosdevices/d:"
ln -sfn "$work/e" "$WINEPREFIX/dosdevices/e:"
rm -f "$WINEPREFIX/dosdevices/z:"
program="$WINEPREFIX/drive_c/Program Files/Quillon"
mkdir -p "$program"
cp "$quillon_exe" "$program/Quillon.exe"
cp "$probe_exe" "$WINEPREFIX/drive_c/probe.exe"

"$WINELOADER" 'C:\probe.exe' --gtest_color=no 'C:\Program Files\Quillon\Quillon.exe' </dev/null

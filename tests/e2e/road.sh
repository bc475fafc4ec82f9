#!/usr/bin/env bash
# One fresh Wine prefix (each costs about ten seconds) for the first start and the whole road of one
# installation: Quillon.exe under C:\Program Files\Quillon, drive Z: (the Linux root) taken away,
# drives D: "DATA" and X: "SMALL" and the Recycle Bin of the test's own. Arguments: Quillon.exe, the probe.
set -euo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/quillon-e2e.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
# Without winedbg a crash ends the program at once instead of waiting for a debugger.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe,winedbg.exe="
# Wine's Recycle Bin is the host's XDG trash.
export XDG_DATA_HOME="$work/xdg-data"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
mkdir -p "$XDG_DATA_HOME"
"$WINELOADER" wineboot -i >/dev/null 2>&1 || true
wineserver -w
rm -f "$WINEPREFIX/dosdevices/z:"
program="$WINEPREFIX/drive_c/Program Files/Quillon"
mkdir -p "$program"
cp "$1" "$program/Quillon.exe"
cp "$2" "$WINEPREFIX/drive_c/probe.exe"

drive() {  # $1: letter, $2: volume label (Wine reads it from a file in the drive's root)
    mkdir -p "$work/drive-$1"
    echo "$2" >"$work/drive-$1/.windows-label"
    ln -sfn "$work/drive-$1" "$WINEPREFIX/dosdevices/$1:"
}
drive d DATA
drive x SMALL
x="$work/drive-x"
mkdir -p "$x/Apps/Tool/.cache" "$x/Apps/Empty" "$x/Docs"
for file in Apps/Tool/tool.exe Apps/Tool/readme.txt Docs/notes.txt Apps/Tool/.cache/skip.me root.txt; do
    echo "$file" >"$x/$file"
done

QUILLON_PROGRAM='C:\Program Files\Quillon\Quillon.exe' "$WINELOADER" 'C:\probe.exe' --gtest_color=no </dev/null
# The uninstalled files went into the Recycle Bin.
for name in NewApp shared.dll manual.txt; do
    [[ -e "$XDG_DATA_HOME/Trash/files/$name" ]] || { echo "$name is not in the Recycle Bin" >&2; exit 1; }
done

#!/usr/bin/env bash
# One fresh Wine prefix (each costs about ten seconds) for the first start and the whole road of one
# installation: Quillon.exe under C:\Program Files\Quillon, drive Z: (the Linux root) taken away,
# drives D: "DATA" and X: "SMALL" and the Recycle Bin of the test's own. Arguments: Quillon.exe, the probe.
source "$(dirname "$0")/../../scripts/lib/fresh-prefix.sh"
cp "$1" "$program/Quillon.exe"
cp "$2" "$WINEPREFIX/drive_c/probe.exe"

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

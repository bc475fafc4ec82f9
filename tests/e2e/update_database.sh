#!/usr/bin/env bash
# "Quillon.exe \u" on a small drive X:: the probe waits for the completion display, presses
# OK and checks the snapshot files. Arguments: Quillon.exe, the probe executable.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_prefix "$1"
x=$(e2e_drive x SMALL)
mkdir -p "$x/Apps/Tool/.cache" "$x/Apps/Empty" "$x/Docs"
echo one >"$x/Apps/Tool/tool.exe"
echo two >"$x/Apps/Tool/readme.txt"
echo three >"$x/Docs/notes.txt"
echo hidden >"$x/Apps/Tool/.cache/skip.me"
echo root >"$x/root.txt"
"$WINELOADER" reg add 'HKCU\Software\Quillon\General' /v DefaultPath /d 'C:\Program Files\Quillon' /f >/dev/null 2>&1
"$WINELOADER" reg add 'HKCU\Software\Quillon\General' /v DriveName /d '(X:) SMALL' /f >/dev/null 2>&1
wineserver -w
e2e_probe "$2"

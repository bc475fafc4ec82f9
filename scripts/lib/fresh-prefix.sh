# Shared by the end-to-end tests and the benchmarks that need a machine of their own: a fresh Wine
# prefix (about ten seconds) in a temporary folder removed at the end, drive Z: taken away, the
# Recycle Bin in that folder, `drive` to map a folder as a fixed drive, and `tray_desktop`.
# shellcheck shell=bash
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

# A virtual desktop whose taskbar shows the notification area; EnableShell keeps the taskbar up
# with no icon. Read when the desktop starts: call it before any window program.
tray_desktop() {
    local explorer='[HKEY_CURRENT_USER\Software\Wine\Explorer'
    printf '%s\n' REGEDIT4 "$explorer]" '"Desktop"="Default"' "$explorer\\Desktops]" '"Default"="1024x768"' \
        "$explorer\\Desktops\\Default]" '"EnableShell"=dword:00000001' >"$WINEPREFIX/drive_c/desktop.reg"
    "$WINELOADER" regedit /s 'C:\desktop.reg' >/dev/null 2>&1
    wineserver -w
}

drive() {  # $1: letter, $2: volume label (Wine reads it from a file in the drive's root)
    mkdir -p "$work/drive-$1"
    echo "$2" >"$work/drive-$1/.windows-label"
    ln -sfn "$work/drive-$1" "$WINEPREFIX/dosdevices/$1:"
}

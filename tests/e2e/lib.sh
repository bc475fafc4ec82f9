# Shared by the end-to-end scripts: a fresh Wine prefix of the test's own, with the program
# installed under C:\Program Files\Quillon and drive Z: (the Linux root) taken away.
# shellcheck shell=bash

e2e_prefix() {  # $1: Quillon.exe
  work=$(mktemp -d "${TMPDIR:-/tmp}/quillon-e2e.XXXXXX")
  export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
  "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  rm -f "$WINEPREFIX/dosdevices/z:"
  program="$WINEPREFIX/drive_c/Program Files/Quillon"
  mkdir -p "$program"
  cp "$1" "$program/Quillon.exe"
}

e2e_drive() {  # $1: letter, $2: volume label; prints the Linux folder behind the drive
  local folder="$work/drive-$1"
  mkdir -p "$folder"
  echo "$2" >"$folder/.windows-label"
  ln -sfn "$folder" "$WINEPREFIX/dosdevices/$1:"
  echo "$folder"
}

e2e_probe() {  # $1: probe executable, then its arguments
  cp "$1" "$WINEPREFIX/drive_c/probe.exe"
  shift
  QUILLON_PROGRAM='C:\Program Files\Quillon\Quillon.exe' "$WINELOADER" 'C:\probe.exe' --gtest_color=no "$@" </dev/null
}

e2e_small_drive() {  # drive X: "SMALL" with a few folders and files, selected in the main window
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
}

e2e_private_trash() {  # Wine's Recycle Bin is the host's XDG trash: keep it inside the test's folder
  export XDG_DATA_HOME="$work/xdg-data"
  mkdir -p "$XDG_DATA_HOME"
}

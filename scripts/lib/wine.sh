# Shared by the scripts: the Wine environment of one build tree.
# shellcheck shell=bash

quillon_wine_env() {  # $1: build tree
  export WINEDEBUG=-all
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  export WINEPREFIX="$1/wineprefix"
  # Without winedbg a crashing program ends at once; with it, it waits for a debugger until the
  # test times out.
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe,winedbg.exe="
}

# Creates the prefix once per build tree; a fresh one takes about ten seconds.
quillon_wine_prefix() {
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "wine: creating prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  # A virtual desktop: without a window manager (Xvfb has none) Wine would draw windows
  # without their caption and frame, and screenshots would not show what a user sees.
  if [[ ! -f "$WINEPREFIX/.quillon-desktop" ]]; then
    "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
    # Wine draws the caption buttons with Marlett, which a new prefix lacks.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    touch "$WINEPREFIX/.quillon-desktop"
  fi
}

# One wineserver for the whole run, with the system processes (services, the desktop) already
# started: a test started first would otherwise hand its output pipe to them, and ctest would
# wait for that pipe until they end.
quillon_wine_start() {
  # A server left from another display would put the windows on a desktop that is not there.
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
  wineserver -p </dev/null >/dev/null 2>&1
  "$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

quillon_wine_stop() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
}

# Shared by the scripts: the Wine environment of one build tree.
# shellcheck shell=bash

quillon_wine_env() {  # $1: build tree
  export WINEDEBUG=-all
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  export WINEPREFIX="$1/wineprefix"
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
}

# Creates the prefix once per build tree; a fresh one takes about ten seconds.
quillon_wine_prefix() {
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "wine: creating prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
}

# One wineserver for the whole run, with the system processes (services, the desktop) already
# started: a test started first would otherwise hand its output pipe to them, and ctest would
# wait for that pipe until they end.
quillon_wine_start() {
  wineserver -p </dev/null >/dev/null 2>&1
  "$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

quillon_wine_stop() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
}

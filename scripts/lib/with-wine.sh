#!/usr/bin/env bash
# Runs a command with the run's wineserver up (inside the X server that xvfb-run started,
# so the Wine desktop process sees the display), and stops the server afterwards.
source "$(dirname "$0")/wine.sh"
quillon_wine_start
"$@"
rc=$?
quillon_wine_stop
exit $rc

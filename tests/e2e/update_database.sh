#!/usr/bin/env bash
# "Quillon.exe \u" on a small drive X:: the probe waits for the completion display, presses
# OK and checks the snapshot files. Arguments: Quillon.exe, the probe executable.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_prefix "$1"
e2e_small_drive
e2e_probe "$2"

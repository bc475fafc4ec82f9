#!/usr/bin/env bash
# "Quillon.exe \u", an installation on drive X:, the registry and win.ini, then "Quillon.exe \f":
# the probe checks the changes files. Arguments: Quillon.exe, the probe executable.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_prefix "$1"
e2e_small_drive
e2e_probe "$2"

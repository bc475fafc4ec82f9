#!/usr/bin/env bash
# First start of Quillon.exe on a new machine with two more fixed drives (D: "DATA",
# E: "TOOLS"). The probe starts it and checks the registry and the window.
# Arguments: Quillon.exe, the probe executable.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_prefix "$1"
e2e_drive d DATA >/dev/null
e2e_drive e TOOLS >/dev/null
e2e_probe "$2"

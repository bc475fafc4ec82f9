#!/usr/bin/env bash
# First start of Quillon.exe on a new machine with two more fixed drives (D: "DATA",
# E: "TOOLS"). The probe starts it and checks the registry and the window.
# The options probe then works the options dialog in the same prefix.
# Arguments: Quillon.exe, the first-run probe, the options probe.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_prefix "$1"
e2e_drive d DATA >/dev/null
e2e_drive e TOOLS >/dev/null
e2e_probe "$2"
e2e_probe "$3"

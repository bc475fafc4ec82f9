#!/usr/bin/env bash
# The whole road: "Quillon.exe \u", an installation on drive X:, "Quillon.exe \f", the removal
# list saved from the viewer, then `Quillon.exe "C:\Lists\NewApp.qdf"` takes it all away again.
# Arguments: Quillon.exe, the probe executable.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_prefix "$1"
e2e_private_trash
e2e_small_drive
e2e_probe "$2"

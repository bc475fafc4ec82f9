# Sourced by every end-to-end script: a fresh prefix (scripts/lib/fresh-prefix.sh) with the programs
# given, all arguments but the last, in Quillon's folder, the probe (the last) as C:\probe.exe and an
# empty C:\Lists for removal lists. Sets `here`; `probe [TEST]` runs the probe's tests, or one of them.
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/fresh-prefix.sh"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
(($# < 2)) || cp "${@:1:$#-1}" "$program/"
cp "${!#}" "$WINEPREFIX/drive_c/probe.exe"
mkdir "$WINEPREFIX/drive_c/Lists"
probe() { "$WINELOADER" 'C:\probe.exe' --gtest_color=no ${1:+"--gtest_filter=*.$1"} </dev/null; }

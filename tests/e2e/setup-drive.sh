# Shared by the end-to-end scripts that install real packages: a fresh prefix with Quillon ($1) and
# the probe ($2) in place, and drive S:, which no scan walks, for the packages, holding a program
# and a library of the prefix to put in them. Sets `here`, `c` (drive C:) and `s` (drive S:).
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/fresh-prefix.sh"
here=$(dirname "${BASH_SOURCE[0]}")
c="$WINEPREFIX/drive_c"
cp "$1" "$program/Quillon.exe"
cp "$2" "$c/probe.exe"
mkdir -p "$c/Lists"
# Desktop, Documents and the like link to the Linux home: made folders of the prefix, or the scans
# would walk the home and the shortcuts land outside.
find "$c/users" -type l -exec sh -c 'rm "$1" && mkdir "$1"' _ {} \;
drive s SETUP
s="$work/drive-s"
cp "$c/windows/system32/hostname.exe" "$s/demo.exe"
cp "$c/windows/system32/version.dll" "$s/demo.dll"

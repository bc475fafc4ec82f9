# Shared by the end-to-end scripts that install real packages: the prefix of prefix.sh, and drive S:,
# which no scan walks, for the packages, holding a program and a library of the prefix to put in
# them. Sets `c` (drive C:) and `s` (drive S:).
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/prefix.sh"
c="$WINEPREFIX/drive_c"
# Desktop, Documents and the like link to the Linux home: made folders of the prefix, or the scans
# would walk the home and the shortcuts land outside.
find "$c/users" -type l -exec sh -c 'rm "$1" && mkdir "$1"' _ {} \;
drive s SETUP
s="$work/drive-s"
cp "$c/windows/system32/hostname.exe" "$s/demo.exe"
cp "$c/windows/system32/version.dll" "$s/demo.dll"

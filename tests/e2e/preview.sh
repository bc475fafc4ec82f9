#!/usr/bin/env bash
# Two of one vendor's programs, NSIS setups nobody here wrote, installed one after the other into
# one vendor folder and each saved as its own removal list (the snapshot is not refreshed between,
# so both lists name the vendor folder). The first is uninstalled from the Uninstall menu: its
# preview shows the folder as also in the other list, unticked, and the second program stays
# whole. Then the second list, from the command line, takes the folder.
# Arguments: Quillon.exe, the probe.
source "$(dirname "$0")/setup-drive.sh"
cp "$here/demo-vendor.nsi" "$s/"
(cd "$s" && makensis -V1 -DAPP=One demo-vendor.nsi && makensis -V1 -DAPP=Two demo-vendor.nsi) >/dev/null

probe FirstStartAndUpdate
"$WINELOADER" 'S:\vendor-One.exe'
probe SaveOne
"$WINELOADER" 'S:\vendor-Two.exe'
probe SaveTwo
probe UninstallOneFromTheMenuKeepsWhatTwoNames
probe UninstallTwoFromTheCommandLineTakesTheFolder

#!/usr/bin/env bash
# Installers nobody here wrote, built from the scripts beside this one: an NSIS setup and a Windows
# Installer package that Wine's own msiexec installs. Both install into a fresh prefix between
# "\u" and "\f". The script's own record of the prefix (every folder and file of C: with size, time
# and attributes; every key and value of HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER) says what they
# changed: the viewer must list exactly that, and its rows, saved as a removal list, must uninstall
# it so that the record is as before. Last, Find changes right after an update lists nothing.
# Arguments: Quillon.exe, the probe.
source "$(dirname "$0")/setup-drive.sh"
source "$here/prefix-record.sh"
cp "$here/demo-nsis.nsi" "$here/demo-msi.wxs" "$s/"
(cd "$s" && makensis -V1 demo-nsis.nsi && wixl -a x64 -o demo.msi demo-msi.wxs) >/dev/null

# Never recorded: Quillon's own data folder and settings, which each of its runs rewrites.
own='^(. C:\\Program Files\\Quillon(\\|$)|[KV] HKEY_CURRENT_USER\\Software\\Quillon(\\|[[:blank:]]|$))'

probe FirstStart
record before
probe UpdateDatabase
"$WINELOADER" 'S:\demo-nsis.exe'
"$WINELOADER" msiexec /i 'S:\demo.msi' /qn
record installed
expected_rows before installed >"$s/installed.txt"
# From here on every step runs, so that one failure still shows what the others would say.
status=0
probe FindChangesListsExactlyWhatTheyChangedAndSavesAll || status=1
probe SavedListNamedWithoutQuotesUninstallsThem || status=1
record uninstalled
left=$(changes before uninstalled)
[[ -z "$left" ]] || { printf 'The uninstall did not leave the prefix as before:\n%s\n' "$left" >&2; status=1; }
probe FindChangesRightAfterAnUpdateListsNothing || status=1
exit $status

#!/usr/bin/env bash
# The packaged release (scripts/package) in a fresh prefix: the 64-bit installer silent, Quillon
# started from the installed place, the silent uninstaller leaving only the data folder and settings
# (with /REMOVEDATA nothing). Then the portable zip's Quillon over the installer (/D=): Find changes
# lists exactly what it wrote, its uninstall entry among it. Argument: the installers' probe.
source "$(dirname "$0")/setup-drive.sh"
source "$here/prefix-record.sh"
rmdir "$program"  # the installer makes it
"$here/../../scripts/package" >"$work/package.log" 2>&1 || { cat "$work/package.log" >&2; exit 1; }
cp "$here"/../../dist/*-win64* "$s/"
setup=$(cd "$s" && ls Quillon-*-win64-setup.exe)
version=${setup#Quillon-} version=${version%-win64-setup.exe}

status=0
fail() { printf '%s\n' "$@" >&2; status=1; }
expect_lines() {  # $1: what the lines are, $2: the lines, then each line that must be among them, as it starts
    local what=$1 lines=$2 line
    for line in "${@:3}"; do grep -qF -- "$line" <<<"$lines" || fail "$what lacks: $line"; done
}
# Wine registers the host's fonts and names its display classes anew at a prefix's first window,
# which here comes after the first record.
churn+=('^[-+]V HKEY_[^[:cntrl:]]*\\(External )?Fonts[[:blank:]]'
    '^[-+]V HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\\{4D36E96[8E]-E325-11CE-BFC1-08002BE10318\}[[:blank:]]@=')
t=$'\t' folder='C:\Program Files\Quillon' q='C:\\Program Files\\Quillon\\'
key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon'
menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quillon'
record before
"$WINELOADER" "S:\\$setup" /S
record installed
expect_lines "The installation" "$(changes before installed)" "+F $folder\\Quillon.exe$t" \
    "+F $folder\\Quillon Scheduler.exe$t" "+F $folder\\Uninstall.exe$t" "+F $menu\\Quillon.lnk$t" \
    "+F $menu\\Quillon Scheduler.lnk$t" "+V $key$t\"DisplayName\"=\"Quillon\"" "+V $key$t\"EstimatedSize\"=dword:0000" \
    "+V $key$t\"DisplayVersion\"=\"$version\"" "+V $key$t\"Publisher\"=\"The Quillon Project\"" \
    "+V $key$t\"QuietUninstallString\"=\"\\\"${q}Uninstall.exe\\\" /S\"" \
    "+V HKEY_LOCAL_MACHINE\\Software\\Classes\\.qdf$t@=\"QuillonUninstall\"" \
    "+V HKEY_LOCAL_MACHINE\\Software\\Classes\\QuillonUninstall\\Shell\\Uninstall\\Command$t@=\"\\\"${q}Quillon.exe\\\" \\\"%1\\\"\"" \
    "+V HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run$t\"Quillon Scheduler\"=\"${q}Quillon Scheduler.exe\""

# Started from the installed place, as the probe starts it; its snapshot is the user's data.
probe FirstStart || status=1
probe UpdateDatabase || status=1
"$WINELOADER" "$folder\\Uninstall.exe" /S
record kept
# Allowed to stay: the snapshot files and the settings; and the emptied folder of the copy of itself
# that NSIS's uninstaller runs from.
kept="^\\+[ADF] C:\\\\Program Files\\\\Quillon(\\\\[^\\\\$t]+\\.qdb)?($t|\$)|^\\+[KV] HKEY_CURRENT_USER\\\\Software\\\\Quillon(\\\\|$t|\$)"
own_copy="^\\+[AD] C:\\\\users\\\\[^\\\\]+\\\\Temp\\\\~nsu[^\\\\]*\\.tmp($t|\$)"
left=$(changes before kept | grep -v -E "$kept|$own_copy" || true)
[[ -z "$left" ]] || fail "The uninstall left more than the data folder and the settings:" "$left"
expect_lines "The data kept" "$(changes before kept)" "+F $folder\\Cdbase.qdb$t"
"$WINELOADER" "S:\\$setup" /S
"$WINELOADER" "$folder\\Uninstall.exe" /S /REMOVEDATA
record removed
left=$(changes before removed | grep -v -E "$own_copy" || true)
[[ -z "$left" ]] || fail "The uninstall with /REMOVEDATA did not leave the prefix as before:" "$left"

# The portable zip unpacked where the probe starts Quillon.
zip="$s/Quillon-$version-win64.zip"
listed=$(python3 -c 'import sys, zipfile; print("|".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")
[[ $listed == "Quillon/|Quillon/Quillon Scheduler.exe|Quillon/Quillon.exe" ]] || fail "The zip holds: $listed"
python3 -m zipfile -e "$zip" "$c/Program Files/"
# Never recorded from here: the portable Quillon's data folder and settings, rewritten by each run.
own='^(. C:\\Program Files\\Quillon(\\|$)|[KV] HKEY_CURRENT_USER\\Software\\Quillon(\\|[[:blank:]]|$))'
probe FirstStart || status=1
record road-before
probe UpdateDatabase || status=1
"$WINELOADER" "S:\\$setup" /S '/D=C:\Apps\Quillon'
record road-installed
expected_rows road-before road-installed >"$s/installed.txt"
expect_lines "What the installer wrote" "$(cat "$s/installed.txt")" "F C:\\Apps\\Quillon\\Quillon.exe" "K $key"
probe FindChangesListsExactlyWhatTheyChangedAndSavesAll || status=1
exit $status

#!/usr/bin/env bash
# The release as a Windows user gets it. scripts/package builds the zips and installers; the 64-bit
# installer installs silently into a fresh prefix; Quillon starts from the installed place and
# takes a snapshot; the silent uninstaller then leaves nothing of Quillon but its data folder and
# settings, and with /REMOVEDATA nothing at all. Last, Quillon's own road over its installer: the
# portable zip's Quillon updates its database, the installer installs into a folder given with
# /D=, and Find changes lists exactly what it wrote, its uninstall entry among it.
# Arguments: the installers' probe.
source "$(dirname "$0")/../../scripts/lib/fresh-prefix.sh"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/prefix-record.sh"
c="$WINEPREFIX/drive_c"
rmdir "$program"  # the installer makes it
cp "$1" "$c/probe.exe"
mkdir -p "$c/Lists"
find "$c/users" -type l -exec sh -c 'rm "$1" && mkdir "$1"' _ {} \;
drive s SETUP
s="$work/drive-s"

"$here/../../scripts/package" >"$work/package.log" 2>&1 || { cat "$work/package.log" >&2; exit 1; }
cp "$here"/../../dist/* "$s/"
setup=$(cd "$s" && ls Quillon-*-win64-setup.exe)
zip=$(cd "$s" && ls Quillon-*-win64.zip)
version=${setup#Quillon-}
version=${version%-win64-setup.exe}

probe() { "$WINELOADER" 'C:\probe.exe' --gtest_color=no --gtest_filter="Installers.$1" </dev/null; }
status=0
fail() { printf '%s\n' "$@" >&2; status=1; }
# $1: what the lines are, $2: the lines, then each line that must be among them, as it starts.
expect_lines() {
    local what=$1 lines=$2 line
    shift 2
    for line; do grep -qF -- "$line" <<<"$lines" || fail "$what lacks: $line"; done
}

folder='C:\Program Files\Quillon'
uninstall='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon'
menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quillon'
t=$'\t'
record before
"$WINELOADER" "S:\\$setup" /S
record installed
expect_lines "the installation" "$(changes before installed)" \
    "+F $folder\\Quillon.exe$t" "+F $folder\\Quillon Scheduler.exe$t" "+F $folder\\Uninstall.exe$t" \
    "+F $menu\\Quillon.lnk$t" "+F $menu\\Quillon Scheduler.lnk$t" \
    "+V $uninstall$t\"DisplayName\"=\"Quillon\"" "+V $uninstall$t\"DisplayVersion\"=\"$version\"" \
    "+V $uninstall$t\"Publisher\"=\"The Quillon Project\"" "+V $uninstall$t\"EstimatedSize\"=dword:0000" \
    "+V $uninstall$t\"QuietUninstallString\"=\"\\\"C:\\\\Program Files\\\\Quillon\\\\Uninstall.exe\\\" /S\"" \
    "+V HKEY_LOCAL_MACHINE\\Software\\Classes\\.qdf$t@=\"QuillonUninstall\"" \
    "+V HKEY_LOCAL_MACHINE\\Software\\Classes\\QuillonUninstall\\Shell\\Uninstall\\Command$t@=\"\\\"C:\\\\Program Files\\\\Quillon\\\\Quillon.exe\\\" \\\"%1\\\"\"" \
    "+V HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run$t\"Quillon Scheduler\"=\"C:\\\\Program Files\\\\Quillon\\\\Quillon Scheduler.exe\""

# Started from the installed place, as the probe starts it; the snapshot is the user's data.
probe FirstStart || status=1
probe UpdateDatabase || status=1
"$WINELOADER" "$folder\\Uninstall.exe" /S
record kept
# Kept: the data folder's own files and the settings, none of what the installer put there.
data="^\\+[ADF] C:\\\\Program Files\\\\Quillon(\\\\|$t|\$)"
settings="^\\+[KV] HKEY_CURRENT_USER\\\\Software\\\\Quillon(\\\\|$t|\$)"
installed_file="Quillon( Scheduler)?\\.exe|Uninstall\\.exe|uninst\\.ico"
left=$(changes before kept | grep -v -E "$data|$settings" || true)
[[ -z "$left" ]] || fail "The uninstall left more than the data folder and the settings:" "$left"
changes before kept | grep -E "^\\+F C:\\\\Program Files\\\\Quillon\\\\($installed_file)$t" |
    sed 's/^/The uninstall left an installed file: /' >&2 && status=1
changes before kept | grep -q -E "^\\+F C:\\\\Program Files\\\\Quillon\\\\" || fail "The uninstall took the data folder's files"

# Asked to, the uninstaller takes the data and the settings too.
"$WINELOADER" "S:\\$setup" /S
"$WINELOADER" "$folder\\Uninstall.exe" /S /REMOVEDATA
record removed
left=$(changes before removed)
[[ -z "$left" ]] || fail "The uninstall with /REMOVEDATA did not leave the prefix as before:" "$left"

# The portable zip: a folder holding both programs, here where the probe starts Quillon.
listed=$(python3 -m zipfile -l "$s/$zip" | awk 'NR > 1 { print $1, $2 }' | sort | tr '\n' '|')
[[ $listed == "Quillon/ |Quillon/Quillon Scheduler.exe|Quillon/Quillon.exe|" ]] || fail "The zip holds: $listed"
python3 -m zipfile -e "$s/$zip" "$c/Program Files/"
# Never recorded from here: the portable Quillon's data folder and settings, rewritten by each run.
own='^(. C:\\Program Files\\Quillon(\\|$)|[KV] HKEY_CURRENT_USER\\Software\\Quillon(\\|[[:blank:]]|$))'
probe FirstStart || status=1
record road-before
probe UpdateDatabase || status=1
"$WINELOADER" "S:\\$setup" /S '/D=C:\Apps\Quillon'
record road-installed
expected_rows road-before road-installed >"$s/installed.txt"
expect_lines "What the installer wrote" "$(cat "$s/installed.txt")" "F C:\\Apps\\Quillon\\Quillon.exe" "K $uninstall"
probe FindChangesListsExactlyWhatTheyChangedAndSavesAll || status=1
exit $status

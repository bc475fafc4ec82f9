#!/usr/bin/env bash
# Installers nobody here wrote, built from the scripts beside this one: an NSIS setup and a Windows
# Installer package that Wine's own msiexec installs. Both install into a fresh prefix between
# "\u" and "\f". The script's own record of the prefix (every folder and file of C: with size, time
# and attributes; every key and value of HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER) says what they
# changed: the viewer must list exactly that, and its rows, saved as a removal list, must uninstall
# it so that the record is as before. Last, Find changes right after an update lists nothing.
# Arguments: Quillon.exe, the probe.
source "$(dirname "$0")/setup-drive.sh"
cp "$here/demo-nsis.nsi" "$here/demo-msi.wxs" "$s/"
(cd "$s" && makensis -V1 demo-nsis.nsi && wixl -a x64 -o demo.msi demo-msi.wxs) >/dev/null

probe() { "$WINELOADER" 'C:\probe.exe' --gtest_color=no --gtest_filter="Installers.$1" </dev/null; }

# Never recorded: Quillon's own data folder and settings, which each of its runs rewrites.
own='^(. C:\\Program Files\\Quillon(\\|$)|[KV] HKEY_CURRENT_USER\\Software\\Quillon(\\|[[:blank:]]|$))'
# What the system changes by itself between two records, each passed over with its reason.
churn=(
    # Wine writes the display adapter's driver date anew at each start of its display driver.
    '^[-+]V HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\\{4D36E968-E325-11CE-BFC1-08002BE10318\}\\0000[[:blank:]]"DriverDateData"='
    # A key programs share (a fresh prefix has no SharedDLLs) stays once made: the installers'
    # values in it go, the key itself is never Quillon's to remove.
    '^\+K HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs$'
    # A device interface's volatile "Control" key lives while Wine's driver for the device runs.
    '^[-+][KV] HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\DeviceClasses\\.*\\Control([[:blank:]]|$)'
    # The common save dialog remembers the folder the removal list was saved in.
    '^\+[KV] HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32(\\|[[:blank:]]|$)'
)

# $1: the record, one sorted line per item: "A <path>\t<attributes>", "D <folder>",
# "F <file>\t<size> <time>", "K <key>", "V <key>\t<value as regedit exports it>".
record() {
    # Once every process has ended: Wine's own late writes are done and its display session's
    # volatile keys gone.
    wineserver -w
    "$WINELOADER" reg export HKLM 'S:\hklm.reg' /y >/dev/null && "$WINELOADER" reg export HKCU 'S:\hkcu.reg' /y >/dev/null
    {
        "$WINELOADER" cmd /c 'attrib /s /d C:\*' | tr -d '\r' | sed 's/^\(.\{12\}\) *\(.*\)/A \2\t\1/'
        cat "$s/hklm.reg" "$s/hkcu.reg" | iconv -f UTF-16 -t UTF-8 | tr -d '\r' | awk '
            { sub(/^ +/, "") }
            /\\$/ { held = held substr($0, 1, length($0) - 1); next }
            { line = held $0; held = "" }
            line ~ /^\[/ { key = substr(line, 2, length(line) - 2); print "K " key }
            line ~ /^["@]/ { print "V " key "\t" line }'
        (cd "$c" && find . -mindepth 1 -type d -printf 'D %P\n' -o -printf 'F %P\t%s %TY-%Tm-%Td %TT\n') |
            sed 's|/|\\|g; s|^\(.\) |\1 C:\\|'
    } | LC_ALL=C sort | grep -v -E "$own" >"$work/$1"
}
# The lines of record $2 that record $1 lacks ("+") and those it lacks of $1 ("-"), churn passed over.
changes() {
    diff "$work/$1" "$work/$2" | sed -n 's/^> /+/p; s/^< /-/p' | grep -v -E -f <(printf '%s\n' "${churn[@]}" '^$') || true
}

probe FirstStart
record before
probe UpdateDatabase
"$WINELOADER" 'S:\demo-nsis.exe'
"$WINELOADER" msiexec /i 'S:\demo.msi' /qn
record installed
# What the viewer is to list: new folders and files, new keys, and values added, changed or removed;
# a file changed or anything taken away the viewer cannot list, so it fails the probe too.
changes before installed | awk -F '\t' '
    /^\+[DF] / { print "F " substr($1, 4); next }
    /^\+K / { print "K " substr($1, 4); next }
    /^[-+]V / {
        name = ""; data = $2
        for (i = 2; data !~ /^@/ && i <= length(data); i++) {
            ch = substr(data, i, 1)
            if (ch == "\\") name = name substr(data, ++i, 1); else if (ch == "\"") break; else name = name ch
        }
        print "V " substr($1, 4) "\t" name; next
    }
    /^-/ { print "changed or gone: " $0 }' | LC_ALL=C sort -u >"$s/installed.txt"
# From here on every step runs, so that one failure still shows what the others would say.
status=0
probe FindChangesListsExactlyWhatTheyChangedAndSavesAll || status=1
probe SavedListNamedWithoutQuotesUninstallsThem || status=1
record uninstalled
left=$(changes before uninstalled)
[[ -z "$left" ]] || { printf 'The uninstall did not leave the prefix as before:\n%s\n' "$left" >&2; status=1; }
probe FindChangesRightAfterAnUpdateListsNothing || status=1
exit $status

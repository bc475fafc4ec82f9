# Records of a whole prefix and their differences, for the end-to-end scripts that install
# something and then check what changed. Sourced after scripts/lib/fresh-prefix.sh; the script
# sets `s` (the folder of a drive S: no scan walks, for the registry exports) and may set `own`
# (a pattern of record lines never recorded).
# shellcheck shell=bash

# What the system changes by itself between two records, each passed over with its reason.
churn=(
    # Wine writes the display adapter's values (its driver date, its link) anew at each start of its display driver.
    '^[-+]V HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\\{4D36E968-E325-11CE-BFC1-08002BE10318\}\\0000[[:blank:]]'
    # A key programs share (a fresh prefix has no SharedDLLs) stays once made: the installers'
    # values in it go, the key itself is never Quillon's to remove.
    '^\+K HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs$'
    # Volatile keys Wine's services make anew at each start of its server, which a record's export
    # may come before.
    '^[-+][KV] HKEY_LOCAL_MACHINE\\(Hardware|System\\MountedDevices|System\\CurrentControlSet\\Control\\ServiceCurrent)(\\|[[:blank:]]|$)'
    '^[-+][KV] HKEY_LOCAL_MACHINE\\Software\\(Wow6432Node\\)?Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\'
    '^[-+][KV] HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\DeviceClasses\\[^[:cntrl:]]*\\#\\Control(\\|[[:blank:]]|$)'
    # Wine mirrors the state of the print queue the tests run (busy, idle) into its printer's key.
    '^[-+]V HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\[^\\[:cntrl:]]*[[:blank:]]"Status"='
    # Wine keeps the running display session's colours and metrics here, made when a session starts.
    '^[-+][KV] HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters(\\|[[:blank:]]|$)'
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
        (cd "$WINEPREFIX/drive_c" && find . -mindepth 1 -type d -printf 'D %P\n' -o -printf 'F %P\t%s %TY-%Tm-%Td %TT\n') |
            sed 's|/|\\|g; s|^\(.\) |\1 C:\\|'
    } | LC_ALL=C sort | { if [[ -n ${own:-} ]]; then grep -v -E "$own"; else cat; fi; } >"$work/$1"
}

# The lines of record $2 that record $1 lacks ("+") and those it lacks of $1 ("-"), churn passed over.
changes() {
    diff "$work/$1" "$work/$2" | sed -n 's/^> /+/p; s/^< /-/p' | grep -v -E -f <(printf '%s\n' "${churn[@]}" '^$') || true
}

# What the viewer is to list between records $1 and $2, as the probes read it: new folders and
# files ("F"), new keys ("K"), and values added, changed or removed ("V <key>\t<name>"); a file
# changed or anything taken away the viewer cannot list, so it fails the probe too.
expected_rows() {
    changes "$1" "$2" | awk -F '\t' '
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
        /^-/ { print "changed or gone: " $0 }' | LC_ALL=C sort -u
}

#!/usr/bin/env bash
# No removal takes a user's file when names lie outside the ANSI code page, where the system
# spells each such character "?", a wildcard to the shell's file operation. On drive N: the
# user's files of the same lengths as the installation's Cyrillic and Japanese names; on J: the
# user's new .tmp files beside an old junk .tmp named in Cyrillic. The viewer and the clean-up
# window each delete every row; afterwards every file of the user's is still there.
# Arguments: Quillon.exe, the probe. Screenshots go to $QUILLON_SHOTS when it is set.
source "$(dirname "$0")/../../scripts/lib/fresh-prefix.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
shots=${QUILLON_SHOTS:-$work/shots}
tray_desktop
cp "$1" "$program/Quillon.exe"
cp "$2" "$WINEPREFIX/drive_c/probe.exe"
drive n NAMES
drive j JUNK
n="$work/drive-n" j="$work/drive-j"

# The probe asks for a screenshot with C:\shots\NAME.want and waits for NAME.done.
requests="$WINEPREFIX/drive_c/shots"
mkdir -p "$requests" "$shots"
while sleep 0.2; do
    for want in "$requests"/*.want; do
        [[ -e "$want" ]] || continue
        sleep 0.5  # a window just shown may not be painted yet
        "$root/scripts/screenshot" "$shots/$(basename "$want" .want).png" >/dev/null 2>&1 || true
        mv "$want" "${want%.want}.done"
    done
done &
watcher=$!
trap 'kill "$watcher" 2>/dev/null; wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
probe() { "$WINELOADER" 'C:\probe.exe' --gtest_color=no --gtest_filter="Names.$1" </dev/null; }

# Every name the user's, in UTF-8 (Wine reads them as Unicode); the same shapes in ASCII.
mkdir -p "$n/abcde" "$n/Фото" "$n/ab"
for file in abc.txt xyz.txt ab.txt abcde/inside.txt ab/x.txt кот.dat Фото/снимок.jpg 東京.txt; do
    echo "$file" >"$n/$file"
done
for file in abcd1.tmp wxyz1.tmp фото1.tmp data.bak; do echo "$file" >"$j/$file"; done
for file in тест1.tmp old.tmp; do echo junk >"$j/$file" && touch -d '3 days ago' "$j/$file"; done
(cd "$j" && find . | sort) >"$work/j-before"

probe UpdateDatabase
(cd "$n" && find . | sort) >"$work/n-before"
# The installation: "дом.txt" is "???.txt" to the ANSI calls, "日本.txt" "??.txt", "Папка" "?????".
mkdir -p "$n/Папка"
for file in дом.txt 日本.txt Папка/файл.txt Папка/readme.txt installed.txt; do echo "$file" >"$n/$file"; done
probe ViewerDeletesEveryRow

# Nothing of the user's went; of the installation, the ASCII file at least.
lost() {  # $1: listing before, $2: the drive; prints what of the listing is gone
    (cd "$2" && find . | sort) | comm -23 "$1" -
}
report() {  # $1: the drive, then the installation's items: which went
    local drive=$1 item
    shift
    for item; do [[ -e "$drive/$item" ]] && echo "kept: $item" || echo "removed: $item"; done
}
report "$n" дом.txt 日本.txt Папка Папка/файл.txt installed.txt
[[ -z "$(lost "$work/n-before" "$n")" ]] || { echo "the viewer took the user's: $(lost "$work/n-before" "$n")" >&2; exit 1; }
[[ ! -e "$n/installed.txt" ]] || { echo "the viewer's Delete took nothing" >&2; exit 1; }

probe CleanUpDeletesEveryRow
report "$j" тест1.tmp old.tmp
gone=$(lost "$work/j-before" "$j" | grep -v -x -F -e ./тест1.tmp -e ./old.tmp || true)
[[ -z "$gone" ]] || { echo "the clean-up took the user's: $gone" >&2; exit 1; }
[[ ! -e "$j/old.tmp" ]] || { echo "the clean-up's Delete took nothing" >&2; exit 1; }

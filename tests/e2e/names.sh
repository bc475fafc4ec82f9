#!/usr/bin/env bash
# No removal takes a user's file when names lie outside the ANSI code page, where the system
# spells each such character "?", a wildcard to the shell's file operation. On drive N: the
# user's files of the same lengths as the installation's names in many scripts (and one file
# about 300 characters deep); on J: the user's new .tmp files beside an old junk .tmp named in
# Cyrillic. The viewer lists the installation by its own names and saves it as a removal list,
# which is then uninstalled; the clean-up window deletes every row. Afterwards exactly the
# installation is gone and every file of the user's is still there.
# Arguments: Quillon.exe, the probe. Screenshots go to $QUILLON_SHOTS when it is set.
source "$(dirname "$0")/../../scripts/lib/fresh-prefix.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
shots=${QUILLON_SHOTS:-$work/shots}
tray_desktop
# Glyphs for Chinese, Japanese and Korean: Wine's font linking alone does not reach this font.
replacements='[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
printf '%s\n' REGEDIT4 "$replacements" '"Tahoma"="WenQuanYi Micro Hei"' '"MS Shell Dlg"="WenQuanYi Micro Hei"' \
    >"$WINEPREFIX/drive_c/fonts.reg"
"$WINELOADER" regedit /s 'C:\fonts.reg' >/dev/null 2>&1
# Arabic, which that font lacks, from the font linked to it.
"$WINELOADER" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /f \
    /v 'WenQuanYi Micro Hei' /t REG_MULTI_SZ /d 'DejaVuSans.ttf,DejaVu Sans' >/dev/null 2>&1
wineserver -w
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

# Six folders of 45 characters: the file below them lies about 300 characters deep.
deep=.
for level in 1 2 3 4 5 6; do deep+="/уровень_${level}_$(printf 'д%.0s' {1..35})"; done
# Every name the user's, in UTF-8 (Wine reads them as Unicode), of the installation's shapes.
mkdir -p "$n/abcde" "$n/Фото" "$n/ab" "$n/$deep"
for file in abc.txt xyz.txt ab.txt abcd.txt abcdef.txt fghij.txt Strasse.txt istanbul.txt abcde/inside.txt ab/x.txt \
    кот.dat Фото/снимок.jpg 東京.txt "$deep/deep_file_abcdef.txt"; do
    echo "$file" >"$n/$file"
done
for file in abcd1.tmp wxyz1.tmp фото1.tmp data.bak; do echo "$file" >"$j/$file"; done
for file in тест1.tmp old.tmp; do echo junk >"$j/$file" && touch -d '3 days ago' "$j/$file"; done
(cd "$j" && find . | sort) >"$work/j-before"

probe UpdateDatabase
(cd "$n" && find . | sort) >"$work/n-before"
# The installation: "дом.txt" is "???.txt" to the ANSI calls, "日本.txt" and "😀.txt" "??.txt",
# "Папка" "?????"; the folders are listed as one row each.
installed=(дом.txt 日本.txt Папка installed.txt Αθήνα.txt 中文 ملف.txt קובץ.txt नमस्ते.txt ไทย.txt 한국어.txt 😀.txt
    Straße.txt İstanbul.txt "$deep/глубокий_файл_01.txt")
mkdir -p "$n/Папка" "$n/中文"
for file in "${installed[@]}" Папка/файл.txt Папка/readme.txt 中文/文件.txt; do
    [[ -d "$n/$file" ]] || echo "$file" >"$n/$file"
done
windows() {  # the installation's items as Windows paths on N:
    local item
    for item in "${installed[@]}"; do item=${item#./}; echo "N:\\${item//\//\\}"; done
}
windows >"$WINEPREFIX/drive_c/installed.txt"
mkdir -p "$WINEPREFIX/drive_c/Lists"
probe ViewerListsTheInstallationByItsNamesAndSavesIt
list="$WINEPREFIX/drive_c/Lists/names.qdf"
[[ -s "$list" ]] || { echo "no removal list was saved" >&2; exit 1; }
while read -r path; do
    grep -q -x -F "$path"$'\r' "$list" || { echo "the removal list lacks $path in UTF-8" >&2; exit 1; }
done <"$WINEPREFIX/drive_c/installed.txt"
probe SavedListUninstalls

# Nothing of the user's went, and none of the installation stayed.
lost() {  # $1: listing before, $2: the drive; prints what of the listing is gone
    (cd "$2" && find . | sort) | comm -23 "$1" -
}
report() {  # $1: the drive, then the installation's items: which went
    local drive=$1 item
    shift
    for item; do [[ -e "$drive/$item" ]] && echo "kept: $item" || echo "removed: $item"; done
}
report "$n" "${installed[@]}"
[[ -z "$(lost "$work/n-before" "$n")" ]] || { echo "the uninstall took the user's: $(lost "$work/n-before" "$n")" >&2; exit 1; }
left=$(cd "$n" && find . | sort | comm -13 "$work/n-before" -)
[[ -z "$left" ]] || { echo "the uninstall left: $left" >&2; exit 1; }

probe CleanUpDeletesEveryRow
gone=$(lost "$work/j-before" "$j" | grep -v -x -F -e ./тест1.tmp -e ./old.tmp || true)
[[ -z "$gone" ]] || { echo "the clean-up took the user's: $gone" >&2; exit 1; }
for junk in тест1.tmp old.tmp; do
    [[ ! -e "$j/$junk" ]] || { echo "the clean-up kept the junk $junk" >&2; exit 1; }
done

#!/usr/bin/env bash
# No removal takes a user's file when names lie outside the ANSI code page, which spells each such
# character "?", a wildcard to the shell. On N: an installation named in many scripts (one file about
# 300 characters deep) beside the user's files of the same shapes is listed, saved, deleted in the
# viewer, made again and uninstalled: each time exactly it goes. Arguments: Quillon.exe, the probe.
source "$(dirname "$0")/prefix.sh"
drive n NAMES
n="$work/drive-n"

# Six folders of 45 characters: the file below them lies about 300 characters deep.
deep=$(for level in 1 2 3 4 5 6; do printf 'уровень_%s_%s/' $level "$(printf 'д%.0s' {1..35})"; done)
# Every name the user's, in UTF-8 (Wine reads them as Unicode), of the installation's shapes.
mkdir -p "$n/abcde" "$n/Фото" "$n/ab" "$n/$deep"
for file in abc.txt xyz.txt ab.txt abcd.txt abcdef.txt fghij.txt Strasse.txt istanbul.txt abcde/inside.txt ab/x.txt \
    кот.dat Фото/снимок.jpg 東京.txt "${deep}deep_file_abcdef.txt"; do
    echo "$file" >"$n/$file"
done
probe Snapshot
(cd "$n" && find . | sort) >"$work/n-before"

# The installation: "дом.txt" is "???.txt" to the ANSI calls, "日本.txt" and "😀.txt" "??.txt",
# "Папка" "?????"; the folders are listed as one row each.
installed=(дом.txt 日本.txt Папка installed.txt Αθήνα.txt 中文 ملف.txt קובץ.txt नमस्ते.txt ไทย.txt 한국어.txt 😀.txt
    Straße.txt İstanbul.txt "${deep}глубокий_файл_01.txt")
install() {
    mkdir -p "$n/Папка" "$n/中文"
    for file in "${installed[@]}" Папка/файл.txt Папка/readme.txt 中文/文件.txt; do
        [[ -d "$n/$file" ]] || echo "$file" >"$n/$file"
    done
}
as_before() {  # $1: the removal; N: holds exactly what it held before the installation
    (cd "$n" && find . | sort) | diff "$work/n-before" - >&2 || { echo "$1 did not leave N: as it was" >&2; exit 1; }
}
install
printf 'N:\\%s\n' "${installed[@]//\//\\}" | LC_ALL=C sort >"$WINEPREFIX/drive_c/installed.txt"  # as Windows paths
probe ViewerListsTheInstallationByItsNamesSavesAndDeletesIt
as_before "the viewer's Delete"
install
# Made again after the list was saved, but dated before it as the first one was: a file written later
# is the user's to decide on, which the command line never removes. The folders' files stay new.
for file in "${installed[@]}"; do [[ -d "$n/$file" ]] || touch -d 2000-01-01 "$n/$file"; done
probe SavedListUninstallsTheInstallationMadeAgain
as_before "the uninstall"

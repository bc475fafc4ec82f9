#!/usr/bin/env bash
# One fresh Wine prefix (each costs about ten seconds) for the first start and the whole road of one
# installation: Quillon.exe under C:\Program Files\Quillon, drive Z: (the Linux root) taken away,
# drives D: "DATA", X: "SMALL" and J: "JUNK" and the Recycle Bin of the test's own. Arguments: Quillon.exe, the probe.
source "$(dirname "$0")/../../scripts/lib/fresh-prefix.sh"
cp "$1" "$program/Quillon.exe"
cp "$2" "$WINEPREFIX/drive_c/probe.exe"

drive d DATA
drive x SMALL
drive j JUNK
j="$work/drive-j"
mkdir -p "$j/Keep" "$j/Deep/A/B" "$j/My Recycled" "$work/outside"
# Listed by the default types: old.bak, Keep/OLD.BAK, chklist.001, setup.lo$, x.~mp, error.log,
# old.tmp, Deep/A/B/lost.chk. The rest stays, and so does the file behind the link out of the drive.
for file in old.bak Keep/OLD.BAK data.bak myopa11.bak archive.2001.bak chklist.001 'setup.lo$' x.~mp x.a~b \
    install.log setup.log myunst.log rp.log error.log desktop.ini index.dat today.tmp old.tmp notes.mml \
    README Deep/A/B/lost.chk "My Recycled/r.bak"; do
    echo "$file" >"$j/$file"
done
touch -d '3 days ago' "$j/old.tmp"
echo linked >"$work/outside/linked.bak"
ln -s "$work/outside" "$j/Link"
# A tree big enough that the window can be closed while a scan still walks it.
mkdir -p "$j/Many"
(cd "$j/Many" && for n in $(seq 3000); do mkdir "d$n" && echo "$n" >"d$n/f$n.txt"; done)
# Duplicates for the duplicate scan (one of another size), and the libraries of the DLL scan.
mkdir -p "$j/Dups/A" "$j/Dups/B" "$j/Dups/C" "$j/Libs"
for file in Dups/A/x.txt Dups/B/x.txt Dups/C/X.TXT Dups/A/other.txt Libs/unused.dll Libs/used.dll; do
    echo same >"$j/$file"
done
echo longer >"$j/Dups/C/other.txt"
touch -d '2026-01-02 03:04:05' "$j"/Dups/*/*
(cd "$j" && find . | sort) >"$work/j-before"
x="$work/drive-x"
mkdir -p "$x/Apps/Tool/.cache" "$x/Apps/Empty" "$x/Docs"
for file in Apps/Tool/tool.exe Apps/Tool/readme.txt Docs/notes.txt Apps/Tool/.cache/skip.me root.txt; do
    echo "$file" >"$x/$file"
done

QUILLON_PROGRAM='C:\Program Files\Quillon\Quillon.exe' "$WINELOADER" 'C:\probe.exe' --gtest_color=no </dev/null
# The uninstalled files went into the Recycle Bin.
for name in NewApp shared.dll manual.txt old.bak OLD.BAK chklist.001 'setup.lo$' x.~mp error.log old.tmp lost.chk; do
    [[ -e "$XDG_DATA_HOME/Trash/files/$name" ]] || { echo "$name is not in the Recycle Bin" >&2; exit 1; }
done
# The clean-up took the listed junk and nothing else.
(cd "$j" && find . | sort) >"$work/j-after"
expected=$(grep -v -x -F -e ./old.bak -e ./Keep/OLD.BAK -e ./chklist.001 -e './setup.lo$' -e ./x.~mp -e ./error.log \
    -e ./old.tmp -e ./Deep/A/B/lost.chk "$work/j-before")
[[ "$(cat "$work/j-after")" == "$expected" ]] || { diff <(echo "$expected") "$work/j-after" >&2; exit 1; }

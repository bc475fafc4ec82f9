#!/usr/bin/env bash
# The first start and the road of one installation in one fresh Wine prefix (about ten seconds each):
# drives D: "DATA", X: "SMALL" and J: "JUNK", the Linux root taken away. Arguments: Quillon.exe, the probe.
source "$(dirname "$0")/prefix.sh"
drive d DATA
drive x SMALL
drive j JUNK
j="$work/drive-j"
mkdir -p "$j/Keep" "$j/Deep/A/B" "$j/My Recycled" "$work/outside"
# Listed by the default types: old.bak, Keep/OLD.BAK, chklist.001, setup.lo$, x.~mp, error.log,
# old.tmp, тест1.tmp, Deep/A/B/lost.chk. The rest stays, among it the user's new .tmp files of the
# shape the system gives "тест1.tmp" ("????1.tmp"), and the file behind the link out of the drive.
junk=(old.bak Keep/OLD.BAK chklist.001 'setup.lo$' x.~mp error.log old.tmp тест1.tmp Deep/A/B/lost.chk)
for file in "${junk[@]}" data.bak myopa11.bak archive.2001.bak x.a~b install.log setup.log myunst.log rp.log \
    desktop.ini index.dat today.tmp notes.mml README "My Recycled/r.bak" abcd1.tmp wxyz1.tmp фото1.tmp; do
    echo "$file" >"$j/$file"
done
touch -d '3 days ago' "$j/old.tmp" "$j/тест1.tmp"
echo linked >"$work/outside/linked.bak"
ln -s "$work/outside" "$j/Link"
# A tree big enough that the window can be closed while a scan still walks it.
mkdir -p "$j/Many"
(cd "$j/Many" && for n in $(seq 3000); do mkdir "d$n" && echo "$n" >"d$n/f$n.txt"; done)
(cd "$j" && find . | sort) >"$work/j-before"
x="$work/drive-x"
mkdir -p "$x/Apps/Tool" "$x/Docs"
for file in Apps/Tool/tool.exe Apps/Tool/readme.txt Docs/notes.txt root.txt; do
    echo "$file" >"$x/$file"
done

probe
# The uninstalled files and the junk went into the Recycle Bin.
for file in NewApp shared.dll manual.txt "${junk[@]}"; do
    [[ -e "$XDG_DATA_HOME/Trash/files/${file##*/}" ]] || { echo "$file is not in the Recycle Bin" >&2; exit 1; }
done
# The clean-up took the listed junk and nothing else.
(cd "$j" && find . | sort) | diff <(grep -v -x -F "${junk[@]/#/-e./}" "$work/j-before") - >&2 ||
    { echo "the clean-up did not take exactly the junk" >&2; exit 1; }

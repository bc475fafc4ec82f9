#!/usr/bin/env bash
# The viewer's report printed under Wine on the PDF queue of the tests (scripts/test starts it;
# run alone, this starts one) and read back: each printed line as its runs of words, each run at
# its x in points (twips / 20), and the number of pages. Then, with no print server to reach, the
# "Error printing" message. Argument: the probe.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/cups-pdf.sh"
if [[ -z "${QUILLON_PDF_OUT:-}" ]]; then
    quillon_cups_start >/dev/null 2>&1 || { echo "the tests' print server did not start" >&2; exit 1; }
    trap quillon_cups_stop EXIT
fi
rm -f "$QUILLON_PDF_OUT"/*
"$WINELOADER" "$1" --gtest_color=no --gtest_filter='Report.Prints*' </dev/null
pdf=$(quillon_cups_pdf) || { echo "no PDF in $QUILLON_PDF_OUT" >&2; exit 1; }

# "page x:words|x:words" per line: words one space apart form one run, unless a word starts at a
# column (a folder may end one space before the size column).
lines=$(pdftotext -bbox "$pdf" - | awk -F'"' '/<page/ { p++ } /<word/ { w = $0; sub(/^.*">/, "", w); sub(/<\/word>.*/, "", w); print p, $4, $2, $6, w }' |
    sort -k1,1n -k2,2n -k3,3n |
    awk '{ x = int($3 + 0.5)
           if ($1 != p || $2 != y) { if (line != "") print line; line = $1 " " x ":" $5; p = $1; y = $2 }
           else if ($3 - end < 9 && x !~ /^(200|318|440|512)$/) line = line " " $5
           else line = line "|" x ":" $5
           end = $4 }
         END { print line }')
expected=(
    '1 0:File name: NewApp.qdf'
    '1 0:File log creation date: 12/7/2026 10:00:00'
    '1 0:Quillon found the following changes to your system:'
    '1 50:The following files and folders were added:'
    '1 50:Name|200:In folder|440:Size|512:Type'
    '1 50:file01.txt|200:C:\Apps\|440:1KB|512:Text Document'
    '2 50:Plugins|200:C:\Program Files\VendorWithAVeryLongNam|440:0KB|512:Folder'
    '2 200:e\ToolsAndPlugins\Version2\'
    '2 50:The following registry keys were added:'
    '2 50:Key name|318:In parent key'
    '2 50:Tool|318:HKEY_CURRENT_USER\Software\Vendor\'
    '2 50:The following lines were added to the Autoexec.bat file:'
    '2 50:Line added|318:Replacing line'
    '2 50:device=new.386|318:device=old.386'
)
failed=0
for line in "${expected[@]}"; do
    grep -Fxq -- "$line" <<<"$lines" || { echo "not printed: $line" >&2; failed=1; }
done
[[ $(grep -c '^2 50:device=new.386' <<<"$lines") == 4 ]] || { echo "not one row in each line list" >&2; failed=1; }
[[ $(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }') == 2 ]] || { echo "not two pages" >&2; failed=1; }
[[ $failed == 0 ]] || { echo "$lines" >&2; exit 1; }

# Without a print server Wine has no printer at all.
CUPS_SERVER="$QUILLON_CUPS_DIR/stopped.sock" "$WINELOADER" "$1" --gtest_color=no --gtest_filter='Report.WithoutAPrinter*' </dev/null

#!/usr/bin/env bash
# A viewer's report printed under Wine on the tests' PDF queue (scripts/test starts it; run
# alone, this starts one) and read back: the words of each line at their x positions, and the
# pages. Then, with no print server to reach, the "Error printing" message. Argument: the probe.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/cups-pdf.sh"
if [[ -z "${QUILLON_PDF_OUT:-}" ]]; then
    # Set first: a start that fails half-way may already have a daemon and a file in /etc/cups.
    trap quillon_cups_stop EXIT
    quillon_cups_start >/dev/null 2>&1 || { echo "the tests' print server did not start" >&2; exit 1; }
fi
rm -f "$QUILLON_PDF_OUT"/*
"$WINELOADER" "$1" --gtest_color=no </dev/null
pdf=$(quillon_cups_pdf) || { echo "no PDF in $QUILLON_PDF_OUT" >&2; exit 1; }
lines=$(quillon_pdf_lines "$pdf" '200|318|440|512')
# The columns at their points, the long folder wrapped in its column on the second page.
for line in '1 0:File name: NewApp.qdf' '1 50:Name|200:In folder|440:Size|512:Type' \
    '1 50:file01.txt|200:C:\Apps\|440:1KB|512:Text Document' '2 50:Tool|318:HKEY_CURRENT_USER\Software\Vendor\' \
    '2 50:Plugins|200:C:\Program Files\VendorWithAVeryLongNam|440:0KB|512:Folder' '2 200:e\ToolsAndPlugins\Version2\'; do
    grep -Fxq -- "$line" <<<"$lines" || { echo "not printed: $line"; echo "$lines"; exit 1; } >&2
done
[[ $(grep -c '^2 50:device=new.386|318:device=old.386$' <<<"$lines") == 4 ]] || { echo "not one row a line list" >&2; exit 1; }
[[ $(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }') == 2 ]] || { echo "not two pages" >&2; exit 1; }
CUPS_SERVER="$QUILLON_CUPS_DIR/stopped.sock" QUILLON_NO_PRINTER=1 "$WINELOADER" "$1" --gtest_color=no </dev/null

# A CUPS daemon of the tests' own whose default queue "PDF" writes each job as a PDF into
# $QUILLON_PDF_OUT: under Wine that queue is the default printer, so a GDI job can be read back.
# The daemon's configuration, spool, state and logs live in one temporary folder and clients
# reach it through CUPS_SERVER. The only file outside it is the cups-pdf backend's settings,
# which that backend reads from /etc/cups alone; it is named after this run's device and
# removed again at the stop. The system's own CUPS set-up is not touched.
# shellcheck shell=bash

quillon_cups_start() {
  local dir name
  dir=$(mktemp -d "${TMPDIR:-/tmp}/quillon-cups.XXXXXX") || return 1
  chmod 755 "$dir"
  name="quillon-${dir##*.}"
  mkdir -p "$dir/conf/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/out"
  chmod 777 "$dir/out"
  printf '%s\n' "ServerRoot $dir/conf" "RequestRoot $dir/spool" "TempDir $dir/spool/tmp" "CacheDir $dir/cache" \
    "StateDir $dir/state" "AccessLog $dir/log/access_log" "ErrorLog $dir/log/error_log" \
    "PageLog $dir/log/page_log" "SystemGroup root" "PeerCred off" >"$dir/conf/cups-files.conf"
  # Only this folder's socket reaches the daemon: every request on it may administer.
  printf '%s\n' "Listen $dir/cups.sock" "LogLevel warn" "Browsing No" "WebInterface No" "DefaultAuthType None" \
    "<Location />" "Order allow,deny" "Allow all" "</Location>" \
    "<Policy default>" "<Limit All>" "Order deny,allow" "</Limit>" "</Policy>" >"$dir/conf/cupsd.conf"
  printf '%s\n' "Out $dir/out" "AnonDirName $dir/out" "Grp root" >"/etc/cups/cups-pdf-$name.conf"
  export QUILLON_CUPS_DIR="$dir" QUILLON_CUPS_DEVICE="$name" QUILLON_PDF_OUT="$dir/out"
  export CUPS_SERVER="$dir/cups.sock" CUPS_SERVERROOT="$dir/conf"
  /usr/sbin/cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" </dev/null >/dev/null 2>&1 &
  echo $! >"$dir/cupsd.pid"
  local tries
  for tries in $(seq 100); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    sleep 0.1
  done
  lpadmin -p PDF -E -v "cups-pdf:/$name" -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o PageSize=Letter -o TitlePref=1 &&
    lpadmin -d PDF && lpoptions -d PDF >/dev/null
}

# Stops the daemon; the PDFs go with its folder unless `keep` is given.
quillon_cups_stop() {
  [[ -n "${QUILLON_CUPS_DIR:-}" ]] || return 0
  local pid
  pid=$(cat "$QUILLON_CUPS_DIR/cupsd.pid" 2>/dev/null)
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -f "/etc/cups/cups-pdf-$QUILLON_CUPS_DEVICE.conf" "$QUILLON_CUPS_DIR/cupsd.pid"
  [[ "${1:-}" == keep ]] || rm -rf "$QUILLON_CUPS_DIR"
  unset QUILLON_CUPS_DIR QUILLON_CUPS_DEVICE QUILLON_PDF_OUT CUPS_SERVER CUPS_SERVERROOT
}

# Waits (up to ten seconds) until the queue is empty and one PDF has been written; prints its path.
quillon_cups_pdf() {
  local tries pdf
  for tries in $(seq 100); do
    pdf=$(find "$QUILLON_PDF_OUT" -name '*.pdf' 2>/dev/null | head -n 1)
    if [[ -n "$pdf" && -z "$(lpstat -o 2>/dev/null)" ]]; then echo "$pdf"; return 0; fi
    sleep 0.1
  done
  return 1
}

# The printed lines of a PDF, top to bottom, as "page x:words|x:words": each run of words one
# space apart at the x of its first word, in whole points (twips / 20). A word at one of the
# x positions given (an extended regular expression) starts a run of its own.
quillon_pdf_lines() {  # $1: the PDF, $2: the columns, as "200|318"
  pdftotext -bbox "$1" - |
    awk -F'"' '/<page/ { p++ } /<word/ { w = $0; sub(/^.*">/, "", w); sub(/<\/word>.*/, "", w); print p, $4, $2, $6, w }' |
    sort -k1,1n -k2,2n -k3,3n |
    awk -v columns="^($2)\$" '{ x = int($3 + 0.5)
           if ($1 != p || $2 != y) { if (line != "") print line; line = $1 " " x ":" $5; p = $1; y = $2 }
           else if ($3 - end < 9 && x !~ columns) line = line " " $5
           else line = line "|" x ":" $5
           end = $4 }
         END { print line }'
}

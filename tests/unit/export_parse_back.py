#!/usr/bin/env python3
# Runs the export tests with a dump folder and reads their CSV back with the csv module, their page with
# a strict XML parser: both must give the table's cells. A missing or unparsable file raises.
import csv, io, os, subprocess, sys, tempfile, xml.etree.ElementTree as ET

X = "{http://www.w3.org/1999/xhtml}"
with tempfile.TemporaryDirectory() as dump:
    if subprocess.run([sys.argv[1], "--gtest_filter=Export.*"], env=dict(os.environ, QUILLON_EXPORT_DUMP=dump)).returncode:
        sys.exit("the export tests failed")
    expected, raw, html = (open(f"{dump}/{name}", "rb").read() for name in ("cells", "names.csv", "names.html"))
(title,), *want = [row.split("\x1f")[:-1] for row in expected.decode().split("\x1e")[:-1]]
cells = list(csv.reader(io.StringIO(raw.decode("utf-8-sig"), newline=""), strict=True))
page = ET.fromstring(html)
failed = [name for name, ok in {
    "CSV byte order mark and CRLF": raw.startswith(b"\xef\xbb\xbf") and raw.endswith(b"\r\n"),
    "CSV cells": cells == want,
    "HTML refers to nothing": not any(w in html for w in (b"<script", b"src=", b"href=", b"url(", b"@import")),
    "HTML charset": page.find(f"{X}head/{X}meta[@charset='utf-8']") is not None,
    "HTML title": page.findtext(f"{X}head/{X}title") == page.findtext(f"{X}body/{X}h1") == title,
    "HTML cells": [["".join(cell.itertext()) for cell in tr] for tr in page.iter(f"{X}tr")] == want,
}.items() if not ok]
sys.exit(f"parse-back FAILED: {', '.join(failed)}" if failed else print(f"parse-back: {len(want)} rows match"))

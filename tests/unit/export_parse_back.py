#!/usr/bin/env python3
"""Runs the export tests with a dump folder, then reads what they wrote with standard readers:
the CSV with python's csv module, the page with a strict XML parser. Each must give back the
table the test wrote, cell for cell; any difference, or a missing file, fails."""
import csv
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

XHTML = "{http://www.w3.org/1999/xhtml}"


def expected(path):
    with open(path, encoding="ascii") as f:
        lines = f.read().split("\n")[:-1]
    cell = lambda h: "" if h == "-" else bytes.fromhex(h).decode("utf-8")
    rows = [[cell(h) for h in line.split()] for line in lines]
    return rows[0][0], rows[1:]


def csv_rows(path):
    with open(path, "rb") as f:
        raw = f.read()
    problems = [] if raw.startswith(b"\xef\xbb\xbf") else ["no UTF-8 byte order mark"]
    if not raw.endswith(b"\r\n"):
        problems.append("the last record does not end in CRLF")
    with open(path, encoding="utf-8-sig", newline="") as f:
        return list(csv.reader(f, strict=True)), problems


def html_table(path):
    with open(path, "rb") as f:
        raw = f.read()
    problems = [f"refers to {w!r}" for w in (b"<script", b"src=", b"href=", b"url(", b"@import") if w in raw]
    root = ET.fromstring(raw)  # raises on anything not well-formed
    text = lambda e: e.text or ""
    title = text(root.find(f"{XHTML}head/{XHTML}title"))
    if title != text(root.find(f"{XHTML}body/{XHTML}h1")):
        problems.append("heading and title differ")
    if root.find(f"{XHTML}head/{XHTML}meta[@charset='utf-8']") is None:
        problems.append("no charset")
    table = root.find(f"{XHTML}body/{XHTML}table")
    rows = [[text(c) for c in tr] for tr in table.iterfind(f"{XHTML}thead/{XHTML}tr")]
    rows += [[text(c) for c in tr] for tr in table.iterfind(f"{XHTML}tbody/{XHTML}tr")]
    return title, rows, problems


def compare(what, got, want, failures):
    if len(got) != len(want):
        failures.append(f"{what}: {len(got)} rows, expected {len(want)}")
    for i, (g, w) in enumerate(zip(got, want)):
        if g != w:
            failures.append(f"{what} row {i}: {g!r}, expected {w!r}")


def main():
    tests = sys.argv[1]
    with tempfile.TemporaryDirectory() as dump:
        run = subprocess.run([tests, "--gtest_filter=Export.*", "--gtest_color=no"],
                             env=dict(os.environ, QUILLON_EXPORT_DUMP=dump))
        if run.returncode != 0:
            print("the export tests failed")
            return 1
        failures, want = [], []
        try:
            title, want = expected(os.path.join(dump, "expected.txt"))
            got, problems = csv_rows(os.path.join(dump, "names.csv"))
            failures += [f"CSV: {p}" for p in problems]
            compare("CSV", got, want, failures)
            got_title, got, problems = html_table(os.path.join(dump, "names.html"))
            failures += [f"HTML: {p}" for p in problems]
            if got_title != title:
                failures.append(f"HTML title {got_title!r}, expected {title!r}")
            compare("HTML", got, want, failures)
        except (OSError, csv.Error, ET.ParseError, AttributeError, TypeError) as e:
            failures.append(f"{type(e).__name__}: {e}")
    for f in failures:
        print("FAIL", f)
    print(f"parse-back: {len(want) if not failures else 0} rows matched, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

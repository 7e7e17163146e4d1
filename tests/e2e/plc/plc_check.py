"""Black-box checks of torvane-cli tags and report against the golden files of tests/data/plc.

  plc_check.py CLI DATA OUT

The tag files must equal the goldens; the TIA workbook is read back with openpyxl (sheet,
columns, every row) and converted by LibreOffice when it is installed; the PDF's text, read with
pdftotext, must hold the same characters as the HTML page. A refused or misused command writes
nothing.
"""
import html
import os
import re
import shutil
import subprocess
import sys
import unicodedata

import openpyxl

failures = []


def expect(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what, file=sys.stderr)


def run(cli, *args):
    env = dict(os.environ, XDG_DATA_HOME=os.path.join(OUT, "no-library"),
               SOURCE_DATE_EPOCH="1700000000")
    return subprocess.run([cli, *args], capture_output=True, env=env)


def characters(text):
    text = unicodedata.normalize("NFKC", text)
    return sorted(ch for ch in text if not ch.isspace())


CLI, DATA, OUT = sys.argv[1], sys.argv[2], sys.argv[3]
shutil.rmtree(OUT, ignore_errors=True)
os.makedirs(OUT)
cfg = os.path.join(DATA, "plc", "master.xml")
devices = ["--input-start", "64", "--device", "5=" + os.path.join(DATA, "devices", "e35.eds"),
           "--device", "12=" + os.path.join(DATA, "devices", "demoDevice.eds")]

for fmt, extra, golden in [("csv", [], "master.csv"), ("iec", [], "master.iec"),
                           ("iec", ["--word-addressing"], "master_words.iec")]:
    out = os.path.join(OUT, golden)
    p = run(CLI, "tags", cfg, "--format", fmt, *extra, *devices, "-o", out)
    expect(p.returncode == 0, f"tags {golden}: rc {p.returncode} {p.stderr}")
    with open(out, "rb") as a, open(os.path.join(DATA, "plc", golden), "rb") as b:
        expect(a.read() == b.read(), f"{golden} differs from the golden file")

xlsx = os.path.join(OUT, "master.xlsx")
p = run(CLI, "tags", cfg, "--format", "tia", *devices, "-o", xlsx)
expect(p.returncode == 0, f"tags tia: rc {p.returncode} {p.stderr}")
wb = openpyxl.load_workbook(xlsx)
# The sheets in order, their headers and every row.
cells = ""
for ws in wb.worksheets:
    for row in ws.iter_rows():
        for c in row:
            if c.value not in (None, ""):
                cells += f"{ws.title}\t{c.row}\t{c.column}\t{c.value}\n"
with open(os.path.join(DATA, "plc", "master_tia.tsv"), encoding="utf-8") as f:
    expect(cells == f.read(), "the workbook's cells differ from master_tia.tsv")

office = shutil.which("soffice") or shutil.which("libreoffice")
if office is None:
    print("LibreOffice is not installed: the TIA workbook's conversion is skipped")
else:
    p = subprocess.run([office, "--headless", "--convert-to", "csv", "--outdir",
                        os.path.join(OUT, "office"), xlsx], capture_output=True, timeout=300)
    converted = os.path.join(OUT, "office", "master.csv")
    expect(p.returncode == 0 and os.path.isfile(converted), "LibreOffice did not convert it")

page = os.path.join(OUT, "map.html")
pdf = os.path.join(OUT, "map.pdf")
for target in (page, pdf):
    p = run(CLI, "report", cfg, "-o", target)
    expect(p.returncode == 0 and os.path.getsize(target) > 0, f"report {target}: {p.stderr}")
    expect(p.stderr == b"", f"report {target} printed {p.stderr}")
with open(page, encoding="utf-8") as f:
    text = html.unescape(re.sub(r"<[^>]*>", " ", re.sub(r"(?s)<head>.*</head>", "", f.read())))
p = subprocess.run(["pdftotext", "-enc", "UTF-8", pdf, "-"], capture_output=True)
expect(p.returncode == 0, "pdftotext failed")
pdf_text = p.stdout.decode("utf-8")
extra = list(characters(pdf_text))
for ch in characters(text):
    if ch in extra:
        extra.remove(ch)
    else:
        expect(False, f"the PDF lacks {ch!r} of the HTML page")
        break
expect(all(ch.isdigit() for ch in extra), f"the PDF has more than page numbers: {extra[:20]}")

# Refused and misused: exit code, message, nothing written.
missing = os.path.join(DATA, "mapping", "map_missing_bytes.xml")
for args, rc, what in [
    (["tags", missing, "--format", "csv"], 1, "number of data"),
    (["tags", cfg, "--format", "csv", "--input-start", "-4"], 2, "byte address"),
    (["tags", cfg, "--format", "csv", "--device", "99=x.eds"], 2, "no node"),
    (["tags", cfg, "--format", "csv", "--device", "5=/nonexistent.eds"], 1, "nonexistent"),
    (["report", cfg], 2, "-o"),
]:
    out = os.path.join(OUT, "refused.out")
    p = run(CLI, *args, "-o", out) if "-o" not in what and args[0] == "tags" else run(CLI, *args)
    expect(p.returncode == rc, f"{args}: rc {p.returncode}, wanted {rc}")
    expect(what.encode() in p.stderr, f"{args}: message {p.stderr!r}")
    expect(not os.path.exists(out), f"{args}: wrote {out}")

sys.exit(1 if failures else 0)

#!/usr/bin/env python3
"""Every text the core marks with TORVANE_TR has a finished translation, and no core file makes
a plain message of a string literal, which would reach the window untranslated.

Usage: check_core_messages.py SOURCE_DIR CATALOGUE.ts
"""

import re
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

from check_catalogue import text_of  # the catalogue checker reads entries the same way

MARK = re.compile(r'TORVANE_TR\(\s*"([^"]*)"\s*,((?:\s*"(?:[^"\\]|\\.)*")+)\s*\)')
LITERAL = re.compile(r'"((?:[^"\\]|\\.)*)"')
PLAIN_LITERAL = re.compile(r'Message::plain\(\s*"')
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\", "'": "'"}


def unescape(literal):
    return re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), m.group(0)), literal)


def finished(catalogue):
    done = set()
    for context in ET.parse(catalogue).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            translation = message.find("translation")
            if translation.get("type") is None and text_of(translation).strip():
                done.add((name, text_of(message.find("source"))))
    return done


def core_files(src):
    for path in sorted(src.rglob("*")):
        if path.suffix in (".h", ".cpp") and path.relative_to(src).parts[0] != "gui":
            yield path


def main(argv):
    src, catalogue = Path(argv[1]) / "src", Path(argv[2])
    done = finished(catalogue)
    faults = []
    marked = 0
    for path in core_files(src):
        text = path.read_text(encoding="utf-8")
        where = path.relative_to(src.parent)
        for m in MARK.finditer(text):
            source = "".join(unescape(s) for s in LITERAL.findall(m.group(2)))
            marked += 1
            if (m.group(1), source) not in done:
                faults.append(f"{where}: {m.group(1)}: {source!r} has no finished translation "
                              f"in {catalogue.name}")
        for m in PLAIN_LITERAL.finditer(text):
            line = text.count("\n", 0, m.start()) + 1
            faults.append(f"{where}:{line}: a plain message made of a literal; mark it with "
                          "TORVANE_TR")
    if marked < 100:
        faults.append(f"only {marked} marked texts found in {src}: is the mark still TORVANE_TR?")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

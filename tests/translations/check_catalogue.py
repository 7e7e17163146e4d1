#!/usr/bin/env python3
"""Checks the translation catalogues against the texts the program marks: nothing new or gone,
nothing unfinished, untranslated or losing a placeholder, line break or accelerator.

Usage: check_catalogue.py LUPDATE CATALOGUE.ts... -- LUPDATE_ARGUMENTS...
"""

import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path

# Texts that read the same in every language.
SAME_EVERYWHERE = {"SDO", "PDO", "COB-ID", "TPDO", "RPDO", "NMT", "SYNC", "EDS"}
NUMBERS_ONLY = re.compile(r"^[\d\s.,:;()+\-~%x]*$")
ACCELERATOR = re.compile(r"\(&(\w)\)")
PLACEHOLDER = re.compile(r"%[1-9]")
WORD = re.compile(r"[A-Za-z][A-Za-z-]*")


def reads_the_same(source):
    """True for a protocol term, a number, or a message made only of placeholders, punctuation
    and protocol terms ("%1: %2", "%1 COB-ID %2")."""
    if source in SAME_EVERYWHERE or NUMBERS_ONLY.match(source):
        return True
    rest = PLACEHOLDER.sub(" ", source)
    return rest != source and all(w in SAME_EVERYWHERE for w in WORD.findall(rest))


def text_of(element):
    """The element's text with lupdate's <byte value="xd"/> characters put back."""
    parts = [element.text or ""]
    for child in element:
        if child.tag == "byte":
            value = child.get("value")
            parts.append(chr(int(value[1:], 16) if value.startswith("x") else int(value)))
        parts.append(child.tail or "")
    return "".join(parts)


def marks(text):
    return {
        "%d": text.count("%d"),
        "%1..%9": sorted(re.findall(r"%[1-9]", text)),
        "line breaks": text.count("\n"),
        "carriage returns": text.count("\r"),
        "accelerator": ACCELERATOR.findall(text),
        "leading blank": text[:1].isspace(),
        "trailing line break": text.endswith("\n"),
    }


def message_faults(path):
    faults = []
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = text_of(message.find("source"))
            translation = message.find("translation")
            where = f"{path.name}: {name}: {source!r}"
            kind = translation.get("type")
            text = text_of(translation)
            if kind is not None:
                faults.append(f"{where}: {kind}")
                continue
            if not text.strip():
                faults.append(f"{where}: no translation")
                continue
            if text == source and not reads_the_same(source):
                faults.append(f"{where}: translation equals the English text")
            want, got = marks(source), marks(text)
            for mark in want:
                if want[mark] != got[mark]:
                    faults.append(f"{where}: {mark} {want[mark]} became {got[mark]} in {text!r}")
    return faults


def main(argv):
    split = argv.index("--")
    lupdate, catalogues, arguments = argv[1], argv[2:split], argv[split + 1:]
    faults = []
    with tempfile.TemporaryDirectory() as scratch:
        for catalogue in map(Path, catalogues):
            copy = Path(scratch) / catalogue.name
            shutil.copyfile(catalogue, copy)
            subprocess.run([lupdate, *arguments, "-ts", str(copy)], check=True,
                           stdout=subprocess.DEVNULL)
            if copy.read_bytes() != catalogue.read_bytes():
                faults.append(f"{catalogue.name}: the marked texts changed; run the "
                              "translations-update target and translate what it marks unfinished")
                faults += message_faults(copy)
            else:
                faults += message_faults(catalogue)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

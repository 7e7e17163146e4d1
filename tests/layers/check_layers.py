#!/usr/bin/env python3
"""Fails when a folder includes or links a layer it may not use, or a core folder includes Qt.

Usage: check_layers.py SOURCE_DIR

The layer order lives here and nowhere else: each folder names the folders it may use, all of
them listed before it.
"""
import pathlib
import re
import sys

# (folder, folders it may use). Missing folders are skipped, so a layer can be added later.
LAYERS = [
    ("src/model", []),
    ("src/mapping", ["model"]),
    ("src/comm", ["model"]),
    ("src/transfer", ["model", "mapping", "comm"]),
    # Comparing configurations encodes them with the download classes.
    ("src/compare", ["model", "mapping", "comm"]),
    ("src/export", ["model"]),
    # Device descriptions read their files through the model's file reader and text codec.
    ("src/devices", ["model"]),
    # The monitor names the objects of a PDO from the device library.
    ("src/monitor", ["model", "comm", "devices"]),
    # Tags and the I/O map: the workbook package, the checks' verdicts, devices' default PDOs.
    ("src/plc", ["model", "mapping", "export", "devices"]),
    # The session's operations run the mapping calculation and apply a finished transfer.
    ("src/editor", ["model", "mapping", "comm", "transfer"]),
    # The serial port adapter implements the port interface of comm.
    ("src/platform", ["model", "comm"]),
    ("src/gui", ["model", "editor", "mapping", "comm", "transfer", "compare", "export", "monitor",
                 "devices", "plc", "platform"]),
    ("tools/cli", ["model", "editor", "mapping", "comm", "transfer", "compare", "export",
                   "monitor", "devices", "plc", "platform"]),
    # The simulator checks the wire format with its own code: the model's record only.
    ("tools/gatewaysim", ["model"]),
    # Window pictures and latency runs: the real windows, with the test suite's sample data.
    ("tools/screenshots", ["model", "editor", "mapping", "comm", "transfer", "compare", "export",
                           "monitor", "devices", "plc", "platform", "gui"]),
]

# The core never sees Qt; the adapters in src/platform and the GUI do.
CORE = {"src/model", "src/editor", "src/mapping", "src/comm", "src/transfer", "src/compare",
        "src/export", "src/monitor", "src/devices", "src/plc"}

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".c"}
PROJECT_INCLUDE = re.compile(r'^\s*#\s*include\s*"([a-z_]+)/', re.M)
SYSTEM_INCLUDE = re.compile(r"^\s*#\s*include\s*<([^>]+)>", re.M)
LINKED_LAYER = re.compile(r"\btorvane_([a-z]+)\b")
QT_HEADER = re.compile(r"^(Q[A-Za-z]|Qt[A-Za-z]*/|qt|q[a-z]+\.h$)")


def short(folder):
    return folder.split("/", 1)[1]


def check_folder(root, folder, uses):
    names = {short(f) for f, _ in LAYERS}
    allowed = set(uses) | {short(folder)}
    faults = []
    for path in sorted((root / folder).rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        rel = path.relative_to(root)
        for used in PROJECT_INCLUDE.findall(text):
            if used in names and used not in allowed:
                faults.append(f"{rel}: includes {used}/, a layer {folder} may not use")
        if folder in CORE:
            for header in SYSTEM_INCLUDE.findall(text):
                if QT_HEADER.match(header):
                    faults.append(f"{rel}: includes <{header}>; the core does not use Qt")
    cmake = root / folder / "CMakeLists.txt"
    if cmake.is_file():
        for used in sorted(set(LINKED_LAYER.findall(cmake.read_text(encoding="utf-8")))):
            if used in names and used not in allowed:
                faults.append(f"{cmake.relative_to(root)}: links torvane_{used}, a layer "
                              f"{folder} may not use")
    return faults


def check_unlisted(root):
    """A new folder must find its place in the order before it can be built."""
    listed = {f for f, _ in LAYERS}
    faults = []
    for top in ("src", "tools"):
        for path in sorted((root / top).iterdir()):
            rel = f"{top}/{path.name}"
            if path.is_dir() and rel not in listed:
                faults.append(f"{rel}: not in the layer table of {pathlib.Path(__file__).name}")
    return faults


def main():
    if len(sys.argv) != 2:
        print("usage: check_layers.py SOURCE_DIR", file=sys.stderr)
        return 2
    root = pathlib.Path(sys.argv[1])
    faults = check_unlisted(root)
    for folder, uses in LAYERS:
        if (root / folder).is_dir():
            faults += check_folder(root, folder, uses)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

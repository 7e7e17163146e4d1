#!/usr/bin/env python3
"""Mutation run: does the test suite notice a planted fault?

Each mutant of scripts/mutants.txt replaces one exact text of one source file (a constant, a
comparison, a dropped statement, a swapped branch, a skipped wait). For each mutant the script
applies it, rebuilds incrementally what those tests need (a unit layer's test program alone,
everything for the GUI and end-to-end tests), runs the mutated layer's tests (plus the e2e tests for comm and transfer), stopping at the first failure, and restores
the file. The result is a table: mutant, layer, and the first test that failed ("survived" when
none did, "no build" when the mutant did not compile).

  scripts/mutate.py [--tree DIR] [--only ID,...] [--out FILE]

Run it in a worktree of its own: it edits sources and builds in DIR/build/default.
"""

import argparse
import os
import re
import subprocess
import sys
import time

# Which tests catch a fault in each folder: ctest selections, run in order. Unit tests are named
# "<layer>.Suite.Case"; the GUI and e2e tests go by their labels.
def unit(layer):
    return ["-R", rf"^{layer}\."]


GUI = ["-L", "^gui$"]
E2E = ["-L", "^e2e$"]
LAYER_TESTS = {
    "src/model": [unit("model")],
    "src/editor": [unit("editor")],
    "src/mapping": [unit("mapping")],
    "src/comm": [unit("comm"), E2E],
    "src/transfer": [unit("transfer"), E2E],
    "src/compare": [unit("compare")],
    "src/export": [unit("export")],
    "src/monitor": [unit("monitor")],
    "src/devices": [unit("devices")],
    "src/plc": [unit("plc")],
    "src/platform": [unit("platform")],
    "src/gui": [GUI],
    "tools/cli": [E2E],
    "tools/gatewaysim": [E2E],
}


def read_mutants(path):
    """Blocks of 'key: value' lines separated by blank lines; find/replace may use \\n."""
    mutants, current = [], {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("#"):
                continue
            if not line.strip():
                if current:
                    mutants.append(current)
                    current = {}
                continue
            key, _, value = line.partition(": ")
            current[key.strip()] = value
    if current:
        mutants.append(current)
    for m in mutants:
        for key in ("find", "replace"):
            m[key] = m.get(key, "").replace("\\n", "\n")
        missing = {"id", "file", "find"} - m.keys()
        if missing:
            sys.exit(f"mutant {m.get('id', '?')}: missing {', '.join(sorted(missing))}")
    return mutants


def layer_of(path):
    for folder, selections in LAYER_TESTS.items():
        if path.startswith(folder + "/"):
            return folder.split("/")[-1], selections
    sys.exit(f"{path}: no layer known for this folder")


def build_command(layer, selections):
    """Only the layer's own test program when its unit tests are all that run."""
    command = ["cmake", "--build", "--preset", "default", "-j2"]
    if selections == [unit(layer)]:
        command += ["--target", f"{layer}_tests"]
    return command


def run(cmd, cwd, log):
    with open(log, "a", encoding="utf-8") as out:
        out.write(f"\n$ {' '.join(cmd)}\n")
        out.flush()
        return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT).returncode


def first_failure(cwd, selections, log):
    """Runs ctest per selection; returns the first failing test's name, or None."""
    for selection in selections:
        result = subprocess.run(
            ["ctest", "--preset", "default", *selection, "--stop-on-failure", "-j6",
             "--timeout", "600"],
            cwd=cwd, capture_output=True, text=True)
        with open(log, "a", encoding="utf-8") as out:
            out.write(result.stdout + result.stderr)
        if result.returncode != 0:
            failed = re.findall(r"^\s*\d+ - (\S+) \(", result.stdout, re.M)
            return failed[0] if failed else "ctest " + " ".join(selection)
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tree", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser.add_argument("--mutants", default=None)
    parser.add_argument("--only", default="")
    parser.add_argument("--out", default=None)
    args = parser.parse_args()

    tree = os.path.abspath(args.tree)
    mutants = read_mutants(args.mutants or os.path.join(tree, "scripts", "mutants.txt"))
    if args.only:
        wanted = set(args.only.split(","))
        mutants = [m for m in mutants if m["id"] in wanted]
    out_path = args.out or os.path.join(tree, "build", "mutation-results.tsv")
    log = os.path.join(tree, "build", "mutation.log")
    for folder in {os.path.dirname(out_path), os.path.dirname(log)}:
        os.makedirs(folder, exist_ok=True)

    if run(["cmake", "--preset", "default"], tree, log) != 0:
        sys.exit("configure failed; see " + log)

    rows = []
    for m in mutants:
        path = os.path.join(tree, m["file"])
        with open(path, encoding="utf-8") as f:
            original = f.read()
        if original.count(m["find"]) != 1:
            rows.append((m["id"], m["file"], "-", "not applied (text found "
                         f"{original.count(m['find'])} times)"))
            print("\t".join(rows[-1]), flush=True)
            continue
        layer, selections = layer_of(m["file"])
        started = time.monotonic()
        try:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original.replace(m["find"], m["replace"]))
            if run(build_command(layer, selections), tree, log) != 0:
                verdict = "no build"
            else:
                verdict = first_failure(tree, selections, log) or "survived"
        finally:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)
        rows.append((m["id"], m["file"], layer, verdict))
        print("\t".join(rows[-1]) + f"\t{time.monotonic() - started:.0f}s", flush=True)

    run(["cmake", "--build", "--preset", "default", "-j2"], tree, log)
    with open(out_path, "w", encoding="utf-8") as f:
        f.write("mutant\tfile\tlayer\tkilled by\n")
        for row in rows:
            f.write("\t".join(row) + "\n")
    survived = sum(1 for r in rows if r[3] == "survived")
    print(f"{len(rows)} mutants, {survived} survived; table in {out_path}")


if __name__ == "__main__":
    main()

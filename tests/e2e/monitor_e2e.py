#!/usr/bin/env python3
"""torvane-cli monitor against torvane-gatewaysim playing a pattern of input values.

The simulator holds each step until the monitor answered one of its frames, so every step is
seen however slowly the machine runs. The printed values and the CSV follow the pattern; SIGINT
ends the run with the CSV complete; a run that cannot start writes nothing.
"""

import csv
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                                "gatewaysim"))
from simulator_process import SimulatorProcess  # noqa: E402

WAIT_S = 90
PATTERN = [("0F 00 01", "15", "1"), ("10 00 02", "16", "2"), ("FF FF 03", "65535", "3")]
TPDO = "Node 5 Transmit PDO 389 (0x185) 0..1"
SDO = "Node 5 Upload SDO 24673:0 (0x6061:0x00) 2"
STAMP = re.compile(r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}$")


class Failure(Exception):
    pass


def changes(lines, command):
    return [f[3] for f in (line.split("\t") for line in lines) if len(f) == 5 and f[1] == command]


def check_run(work, sim_exe, cli, config):
    csv_path = os.path.join(work, "record ü.csv")
    sim = SimulatorProcess(sim_exe, ["--monitor", "fixed", "--step-seconds", "1",
                                     *sum((["--step", s[0]] for s in PATTERN), [])])
    try:
        proc = subprocess.Popen([cli, "monitor", config, "--port", sim.device, "--csv", csv_path],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        text = b""
        deadline = time.monotonic() + WAIT_S
        while min(len(changes(text[:text.rfind(b"\n") + 1].decode().splitlines(), c))
                  for c in (TPDO, SDO)) < 3:
            if time.monotonic() > deadline or proc.poll() is not None:
                proc.kill()
                raise Failure(f"values missing: {text} {proc.stderr.read()}")
            if select.select([proc.stdout], [], [], 1)[0]:
                text += os.read(proc.stdout.fileno(), 65536)
        proc.send_signal(signal.SIGINT)
        out, err = proc.communicate(timeout=WAIT_S)
        lines = (text + out).decode().splitlines()
        if proc.returncode != 0 or err:
            raise Failure(f"SIGINT ended with {proc.returncode}: {err}")
    finally:
        sim.stop()
    for line in lines:
        if not STAMP.match(line.split("\t")[0]):
            raise Failure(f"not a time: {line!r}")
    with open(csv_path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    if rows[0][:3] != ["Time", TPDO, SDO] or len(rows) < 4:
        raise Failure(f"CSV header or lines: {rows[:2]}")
    seen = []
    for row in rows[1:]:
        if len(row) != len(rows[0]) or not STAMP.match(row[0]):
            raise Failure(f"incomplete CSV line {row}")
        if not seen or seen[-1] != (row[1], row[2]):
            seen.append((row[1], row[2]))
    if seen[:3] != [(s[1], s[2]) for s in PATTERN]:
        raise Failure(f"CSV values {seen}")


def check_failures(work, cli, config):
    out = os.path.join(work, "never.csv")
    cases = [
        (["monitor", config], 2),
        (["monitor", config, "--port", "/dev/null", "--duration", "0"], 2),
        (["monitor", os.path.join(work, "missing.xml"), "--port", "/dev/null", "--csv", out], 1),
        (["monitor", config, "--port", os.path.join(work, "no-port"), "--csv", out], 1),
    ]
    for argv, code in cases:
        r = subprocess.run([cli, *argv], capture_output=True, text=True, timeout=WAIT_S)
        if r.returncode != code or not r.stderr:
            raise Failure(f"{argv}: {r.returncode} {r.stderr!r}, expected {code}")
    if os.path.exists(out):
        raise Failure("a failed run wrote the CSV")


def main():
    """monitor_e2e.py BIN_DIR DATA_DIR WORK_DIR"""
    bin_dir, data, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    cli = os.path.join(bin_dir, "torvane-cli")
    config = os.path.join(data, "monitor_drive.xml")
    try:
        check_run(work, os.path.join(bin_dir, "torvane-gatewaysim"), cli, config)
        check_failures(work, cli, config)
    except Failure as e:
        print(f"FAIL: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Records what every torvane-cli command does with a set of configurations.

Runs show, show --json, convert (both ways), map, check, eds and export over every file in
tests/data and a fixed set of generated configurations, and a download followed by an upload
against torvane-gatewaysim with its frame log. Each command's stdout, stderr, exit code and
output files land in OUT, workbooks unzipped part by part, so two snapshots taken before and
after a change compare with `diff -r`. The clock is pinned with faketime.

    scripts/behaviour_snapshot.py OUT [--bin build/default/bin] [--generated 60] [--jobs 6]
"""

import argparse
import concurrent.futures
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tools" / "gatewaysim"))
from simulator_process import SimulatorProcess  # noqa: E402

ROOT = Path(__file__).resolve().parent.parent
PINNED = "2026-01-02 03:04:05"
BAUD = ["10K", "20K", "50K", "100K", "125K", "250K", "500K", "1M"]
INPORT = ["16", "48", "96", "112", "Setting through Hardware Configuration of PROFIBUS DP"]
XML_NAMES = {"1": "Upload-SDO", "2": "Download-SDO", "3": "Transmit-PDO", "4": "Receive-PDO"}


def generated_xml(seed):
    """A configuration as the XML file holds it; some values are deliberately out of range."""
    rnd = random.Random(seed)
    slave = seed % 4 == 3
    pick = rnd.choice
    master = {
        "BuadRate": pick(BAUD + ["3M"]),
        "SlaveAddress": str(rnd.randint(0, 130)),
        "SDOTimeout": str(rnd.choice([0, 50, 200, 1000, 70000])),
        "NMT": pick(["Enable", "Disable", "Yes", "No"]),
        "TPDOTimeout": str(rnd.randint(0, 300)),
        "DelayStart": str(rnd.randint(0, 300)),
        "SYNC": str(rnd.choice([0, 10, 100, 65535])),
        "ControlStatus": pick(["Enable", "Disable"]),
        "ErrorControl": str(rnd.choice([0, 100, 1000])),
    }
    nodes = sorted(rnd.sample(range(1, 128), rnd.randint(0, 6)))
    if seed % 2 == 0:
        return clean_xml(rnd, slave, master, nodes)
    commands = []
    for _ in range(rnd.choice([0, 1, 3, 8, 20, 40, 86])):
        kind = pick(["1", "2", "3", "4"])
        node = pick(nodes) if nodes and not slave else 1
        c = {"InstructionName": XML_NAMES[kind], "NodeAddress": str(node)}
        if kind in ("3", "4"):
            c["COB-ID"] = str(pick([0x180, 0x200, 0x280, 0x300]) + node + rnd.choice([0, 0, 1]))
        else:
            c["Index"] = str(rnd.choice([0x1000, 0x2000, 0x6000, 0x6200]) + rnd.randint(0, 3))
            c["SubIndex"] = str(rnd.randint(0, 4))
        c["Bytes"] = str(rnd.choice([1, 2, 4, 8, 0, -1] if seed % 5 == 0 else [1, 2, 4, 8]))
        c["MappingAddress"] = str(rnd.randint(0, 120) if seed % 3 else -1)
        c["Description"] = pick(["", "speed", "Temp " + str(seed)])
        c["NodeIndex"] = str(nodes.index(node) + 1 if node in nodes else 1)
        commands.append(c)
    return xml_text(pick(INPORT), slave, pick(["210", "320", "500"]), master, nodes, commands)


def clean_xml(rnd, slave, master, nodes):
    """A configuration that passes the checks, so that its download goes through."""
    master.update(BuadRate=rnd.choice(BAUD[3:]), SlaveAddress=str(rnd.randint(1, 127)),
                  SDOTimeout="200", SYNC="0")
    nodes = nodes or [rnd.randint(1, 127)]
    commands = []
    offset = {"in": 0, "out": 0}
    for k, node in enumerate(nodes):
        for kind in rnd.sample(["1", "2", "3", "4"], rnd.randint(1, 4)):
            side = "in" if kind in ("1", "3") else "out"
            size = rnd.choice([1, 2])
            c = {"InstructionName": XML_NAMES[kind], "NodeAddress": str(1 if slave else node)}
            if kind in ("3", "4"):
                c["COB-ID"] = str((0x180 if kind == "3" else 0x200) + (k + 1 if slave else node))
            else:
                c["Index"] = str(0x6000 + k)
                c["SubIndex"] = "1"
            c.update(Bytes=str(size), MappingAddress=str(offset[side]),
                     Description=f"item {k}", NodeIndex=str(k + 1))
            offset[side] += size
            commands.append(c)
    if slave:
        nodes = []
        commands = [c for c in commands if c["InstructionName"].endswith("PDO")]
    return xml_text("16", slave, "500", master, nodes, commands)


def xml_text(inport, slave, edition, master, nodes, commands):
    lines = ['<?xml version="1.0" encoding="gb2312"?>', '<FiledBus Value="FiledBus">',
             f'    <InportNum Value="{inport}"/>', "</FiledBus>", "",
             f'<ConfigType Value="{"TAVO20S" if slave else "TAVO20"}"/>', "",
             f'<ConfigEdition Value="{edition}"/>', "",
             '<CANopen Value="CANopen">', '    <Master Value="Master">']
    lines += [f'        <{k} Value="{v}"/>' for k, v in master.items()]
    lines += [f'        <NodeCount Value="{len(nodes)}"/>',
              f'        <InstructioinCount Value="{len(commands)}"/>', "    </Master>"]
    for n in nodes:
        lines += ['    <Node Value="Node">', f'        <NodeName Value="Node {n}"/>',
                  f'        <NodeAddress Value="{n}"/>', "    </Node>"]
    for c in commands:
        lines.append('    <Instruction Value="Instruction">')
        lines += [f'        <{k} Value="{v}"/>' for k, v in c.items()]
        lines.append("    </Instruction>")
    lines.append("</CANopen>")
    return "\n".join(lines) + "\n"


def run(cmd, cwd, record, timeout=120, pinned=True):
    """Runs cmd in cwd and stores its stdout, stderr and exit code under record."""
    full = (["faketime", PINNED] if pinned else []) + cmd
    env = dict(os.environ, LANG="C.UTF-8", TZ="UTC")
    try:
        p = subprocess.run(full, cwd=cwd, capture_output=True, timeout=timeout, env=env,
                           stdin=subprocess.DEVNULL)
        out, err, rc = p.stdout, p.stderr, str(p.returncode)
    except subprocess.TimeoutExpired as e:
        out, err, rc = e.stdout or b"", e.stderr or b"", "timeout"
    record.mkdir(parents=True, exist_ok=True)
    (record / "stdout").write_bytes(out)
    (record / "stderr").write_bytes(err)
    (record / "rc").write_text(rc + "\n")
    return out


def keep(produced, record):
    """Moves an output file into the record; a workbook is stored unzipped."""
    if not produced.exists():
        return
    if produced.suffix == ".xlsx":
        try:
            with zipfile.ZipFile(produced) as z:
                z.extractall(record / (produced.name + ".parts"))
        except zipfile.BadZipFile:
            shutil.copy(produced, record / produced.name)
    else:
        shutil.copy(produced, record / produced.name)
    produced.unlink()


def snapshot_one(source, out, bindir):
    cli = str(bindir / "torvane-cli")
    name = source.name
    data = ROOT / "tests" / "data"
    label = source.relative_to(data) if source.is_relative_to(data) else Path(name)
    record = out / str(label).replace("/", "__").replace(".", "_")
    with tempfile.TemporaryDirectory() as tmp:
        work = Path(tmp)
        shutil.copy(source, work / name)
        commands = {
            "show": ["show", name],
            "show-json": ["show", name, "--json"],
            "convert-chg": ["convert", name, "out.chg"],
            "convert-xml": ["convert", name, "out.xml"],
            "map": ["map", name],
            "map-o": ["map", name, "-o", "out.chg"],
            "check": ["check", name],
            "check-yes": ["check", name, "--yes"],
            "eds": ["eds", name, "-o", "out.eds"],
            "export": ["export", name, "-o", "out.xlsx"],
        }
        json_text = b""
        for key, args in commands.items():
            text = run([cli] + args, work, record / key)
            if key == "show-json":
                json_text = text
            for produced in ("out.chg", "out.xml", "out.eds", "out.xlsx"):
                keep(work / produced, record / key)
        try:
            slave = json.loads(json_text.decode("utf-8")).get("ConfigType") == 1
        except (ValueError, UnicodeDecodeError):
            return
        transfer(work, name, slave, bindir, record / "transfer")


def transfer(work, name, slave, bindir, record):
    """Download then upload against a simulator; its frame log is part of the record."""
    # Serial lock files go by the device's base name, so each run needs its own.
    port = "./gw-" + record.parent.name
    link = work / port
    log = work / "frames.log"
    model = "slave" if slave else "master"
    sim = SimulatorProcess(str(bindir / "torvane-gatewaysim"),
                           ["--model", model, "--link", str(link), "--log", str(log)])
    try:
        cli = str(bindir / "torvane-cli")
        env_port = ["env", "TORVANE_EXTRA_PORTS=" + port]
        run(env_port + [cli, "download", name, "--port", port, "--yes", "--old-format",
                        "new"], work, record / "download", pinned=False)
        run(env_port + [cli, "upload", "--port", port, "--" + model, "-o", "up.chg"], work,
            record / "upload", pinned=False)
        keep(work / "up.chg", record / "upload")
    finally:
        sim.stop()
    if log.exists():
        # The time since start and the pseudo-terminal's number differ from run to run.
        lines = log.read_text(errors="replace").splitlines()
        kept = [re.sub(r"/dev/pts/\d+", "/dev/pts/N", line.split(None, 1)[-1]) for line in lines
                if line.strip()]
        (record / "frames.log").write_text("".join(line + "\n" for line in kept))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out", type=Path)
    parser.add_argument("--bin", type=Path, default=ROOT / "build" / "default" / "bin")
    parser.add_argument("--generated", type=int, default=60)
    parser.add_argument("--jobs", type=int, default=6)
    args = parser.parse_args()
    if shutil.which("faketime") is None:
        sys.exit("faketime is missing (apt-get install faketime)")
    if args.out.exists():
        sys.exit(f"{args.out} exists; choose a new folder")
    inputs = args.out / "inputs"
    inputs.mkdir(parents=True)
    sources = sorted(p for p in (ROOT / "tests" / "data").rglob("*") if p.suffix in (".chg", ".xml"))
    for seed in range(args.generated):
        xml = inputs / f"gen{seed:02d}.xml"
        xml.write_text(generated_xml(seed), encoding="ascii")
        sources.append(xml)
        chg = inputs / f"gen{seed:02d}.chg"
        subprocess.run([str(args.bin / "torvane-cli"), "convert", str(xml), str(chg)],
                       capture_output=True, check=False)
        if chg.exists():
            sources.append(chg)
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        done = pool.map(lambda s: snapshot_one(s, args.out / "records", args.bin.resolve()), sources)
        for _ in done:
            pass
    print(f"{len(sources)} configurations recorded in {args.out}")


if __name__ == "__main__":
    main()

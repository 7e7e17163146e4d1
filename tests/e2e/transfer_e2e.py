#!/usr/bin/env python3
"""Transfers end to end: torvane-cli against torvane-gatewaysim on a pseudo-terminal.

Each case starts its own simulator(s), runs the command line with the real waits, checks exit
codes, the uploaded configuration and the simulator's frame log, and stops every process it
started on every path.
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                                "gatewaysim"))
from simulator_process import SimulatorError, SimulatorProcess  # noqa: E402

DATA_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
CLI_TIMEOUT_S = 90  # the longest transfer (compatible download) takes about 16 s
EXIT_RESULT_BASE = 10


class Failure(Exception):
    pass


class Context:
    def __init__(self, bin_dir, work):
        self.work = work
        self.sim_exe = os.path.join(bin_dir, "torvane-gatewaysim")
        self.cli_exe = os.path.join(bin_dir, "torvane-cli")
        self.sims = []
        self.background = []

    def path(self, name):
        return os.path.join(self.work, name)

    def cleanup(self):
        problems = []
        for proc in self.background:
            if proc.poll() is None:
                proc.kill()
                proc.wait()
        for sim in self.sims:
            try:
                sim.stop()
            except Failure as e:
                problems.append(str(e))
        return problems


class Sim:
    def __init__(self, ctx, name, *args):
        self.name = name
        self.log = ctx.path(name + ".log")
        try:
            self.process = SimulatorProcess(ctx.sim_exe, ["--log", self.log, *args])
        except SimulatorError as e:
            raise Failure(f"{name}: {e}")
        ctx.sims.append(self)
        self.device = self.process.device

    def stop(self):
        try:
            self.process.stop()
        except SimulatorError as e:
            raise Failure(f"{self.name}: {e}")

    def received(self):
        """The frames the simulator received, as hex texts, in order."""
        with open(self.log) as f:
            return [line.split(" RX #", 1)[1].split(" ", 1)[1].strip()
                    for line in f if " RX #" in line]

    def log_text(self):
        with open(self.log) as f:
            return f.read()


NO_EXTRA_PORTS = object()  # env_ports: TORVANE_EXTRA_PORTS unset


def run_cli(ctx, sim, *args, expect, env_ports=None, with_stderr=False):
    env = dict(os.environ)
    env.pop("TORVANE_EXTRA_PORTS", None)
    if env_ports is not NO_EXTRA_PORTS:
        env["TORVANE_EXTRA_PORTS"] = env_ports if env_ports is not None else sim.device
    started = time.monotonic()
    try:
        r = subprocess.run([ctx.cli_exe, *args], env=env, stdin=subprocess.DEVNULL,
                           capture_output=True, timeout=CLI_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        raise Failure(f"torvane-cli {' '.join(args)}: no end within {CLI_TIMEOUT_S} s")
    took = time.monotonic() - started
    out = r.stdout.decode(errors="replace")
    err = r.stderr.decode(errors="replace")
    print(f"$ torvane-cli {' '.join(args)}  -> exit {r.returncode} in {took:.1f} s\n{out}{err}")
    if r.returncode != expect:
        failure = Failure(f"torvane-cli {args[0]}: exit {r.returncode}, expected {expect}")
        failure.exit = r.returncode
        raise failure
    return (out, err) if with_stderr else out


def fixture(ctx, variant):
    out = ctx.path(variant + ".chg")
    shutil.copyfile(os.path.join(DATA_DIR, "transfer", variant + ".chg"), out)
    return out


def show(ctx, path):
    r = subprocess.run([ctx.cli_exe, "show", path, "--json"], capture_output=True, timeout=30,
                       check=True)
    return json.loads(r.stdout)


MASTER_COMPATIBLE = ["SlaveAddress", "BuadRate", "SDOTimeout", "NMT", "TPDOTimeout",
                     "DelayStart", "SYNC"]
MASTER_NEW = MASTER_COMPATIBLE + ["ControlStatus", "ErrorControl", "RPDOCycle",
                                  "OutputProcessing", "SDOCycle"]
SDO_OPTIONS = ["SDOConcurrent", "SDORetries", "SDOPollDelay"]
SLAVE = ["SlaveNodeAddress", "SlaveBaudRate", "RPDOTimeout", "SlaveDelayStart"]
WIRE_ORDER = {"1": 0, "3": 1, "2": 2, "4": 3}


def carried_commands(cfg, master):
    c = cfg["CONFIG"]
    commands = []
    for ins in c["Instructions"]:
        kind = ins["InstructionType"]
        fields = {"InstructionType": kind, "Bytes": ins["Bytes"],
                  "MappingAddress": ins["MappingAddress"]}
        if kind in ("3", "4"):
            fields["CobId"] = ins["CobId"]
        else:
            fields["Index"] = ins["Index"]
            fields["SubIndex"] = ins["SubIndex"]
        if master:
            fields["NodeAddress"] = ins["NodeAddress"]
        commands.append(fields)
    # The gateway hands the commands back grouped by kind, each group in table order.
    return sorted(commands, key=lambda f: WIRE_ORDER[f["InstructionType"]])


def compare(sent, got, keys):
    problems = []
    if sent["ConfigType"] != got["ConfigType"]:
        problems.append(f"ConfigType {got['ConfigType']} != {sent['ConfigType']}")
    if sent["FIELDBUS"]["InportNum"] != got["FIELDBUS"]["InportNum"]:
        problems.append(f"InportNum {got['FIELDBUS']['InportNum']!r} != "
                        f"{sent['FIELDBUS']['InportNum']!r}")
    for k in keys:
        if sent["CONFIG"][k] != got["CONFIG"][k]:
            problems.append(f"{k} {got['CONFIG'][k]!r} != {sent['CONFIG'][k]!r}")
    master = sent["ConfigType"] == 0
    a = carried_commands(sent, master)
    b = carried_commands(got, master)
    if a != b:
        problems.append(f"commands differ:\n  sent {a}\n  got  {b}")
    if problems:
        raise Failure("uploaded configuration differs:\n" + "\n".join(problems))


RESULT_TEXTS = {2: "Reading serial data failed", 3: "Data validation errors"}


def expect_exit(result_code):
    return 0 if result_code == 18 else EXIT_RESULT_BASE + result_code


def assert_clean_log(sim):
    text = sim.log_text()
    for bad in ("not answered", "refused", "skipped", "incomplete"):
        if bad in text:
            raise Failure(f"{sim.name}: the simulator refused a frame ('{bad}'):\n{text}")


def with_checksum(hex_text):
    data = bytes.fromhex(hex_text)
    return (data + bytes([sum(data) % 256])).hex(" ").upper()


# The frames the fixtures must produce, written out by hand from the frame tables.
GOLDEN_HEADER = {
    # 112 -> 0, node 100, 500K -> 1, TPDO clear 20, SDO time-out 150, NMT Enable -> 1,
    # delay 50, SYNC 10, two commands of each kind.
    "compatible": "02 0F 00 64 01 00 14 96 01 32 0A 02 02 02 02 0D 01",
    # 96 -> 2, node 3, 125K -> 3, 300, 1000, NMT 1, 500, 20, counts, Control&Monitor 1,
    # error control 100, sum 8, RPDO cycle 50, Clear -> 0, SDO cycle 20, seven zeros.
    "new": "02 23 02 03 03 00 2C 01 E8 03 01 F4 01 14 00 02 02 02 02 01 64 00 08 32 00"
           " 00 14 00 00 00 00 00 00 00 00 0D 01",
    # 48 -> 1, node 12, 1M -> 0, RPDO clear 30, delay 200, two TPDO, two RPDO.
    "slave": "02 0A 01 0C 00 00 1E C8 02 02 0D 01",
}
# SDO concurrency off, retries 3 sent as 4, poll delay 250.
GOLDEN_OPTIONS = "07 0F 00 04 FA 00 00 00 00 00 00 00 00 00 00 00 00"


def check_download_frames(sim, variant, options):
    frames = sim.received()
    want = with_checksum(GOLDEN_HEADER[variant])
    if frames[1] != want:
        raise Failure(f"header frame\n  got  {frames[1]}\n  want {want}")
    if variant == "compatible" and not any("85 01 00 05 08" in f for f in frames[2:]):
        raise Failure("no compatible record for COB-ID 389 of node 5 with 8 bytes")
    if variant == "new" and not any("08 05" in f and "85 01 00 00 00 00 00" in f
                                    for f in frames[2:]):
        raise Failure("no new-format record for COB-ID 389 of node 5 with 8 bytes")
    sent_options = [f for f in frames if f.startswith("07 ")]
    if options and sent_options != [with_checksum(GOLDEN_OPTIONS)]:
        raise Failure(f"SDO options frames {sent_options}")


def roundtrip(ctx, variant, sim_args, upload_flag, keys, separate_upload_sim=False,
              options=False, port=None):
    src = fixture(ctx, variant)
    store = ctx.path("gateway.store")
    sim = Sim(ctx, "sim", "--store", store, *sim_args)
    run_cli(ctx, sim, "download", src, "--port", port or sim.device, "--yes", expect=0,
            env_ports=port or sim.device)
    assert_clean_log(sim)
    check_download_frames(sim, variant, options)
    if separate_upload_sim:
        # A later run of the gateway serves what the first one stored.
        sim.stop()
        sim = Sim(ctx, "sim2", "--store", store, *sim_args)
    # A restarted simulator may get another terminal; only a link name stays the same.
    port = port or sim.device
    up = ctx.path("uploaded.chg")
    run_cli(ctx, sim, "upload", "--port", port, upload_flag, "-o", up, expect=0, env_ports=port)
    assert_clean_log(sim)
    compare(show(ctx, src), show(ctx, up), keys)
    return sim


def case_roundtrip_compatible(ctx):
    # Through the --link name: the port list and --port may name the terminal by a link.
    link = ctx.path("gateway")
    roundtrip(ctx, "compatible", ["--old-firmware", "--link", link], "--master", MASTER_COMPATIBLE,
              port=link)


def case_roundtrip_new(ctx):
    sim = roundtrip(ctx, "new", ["--firmware", "5.2"], "--master", MASTER_NEW + SDO_OPTIONS,
                    separate_upload_sim=True, options=True)
    if not any(f.startswith("06 02 01 01 0A") for f in sim.received()):
        raise Failure("the upload did not read the SDO options")


def case_roundtrip_slave(ctx):
    roundtrip(ctx, "slave", ["--model", "slave"], "--slave", SLAVE)


def download_fault(ctx, variant, sim_args, result_code):
    src = fixture(ctx, variant)
    sim = Sim(ctx, "sim", *sim_args)
    run_cli(ctx, sim, "download", src, "--port", sim.device, "--yes",
            expect=expect_exit(result_code))
    return sim


def upload_fault(ctx, sim_args, result_code, model="--master"):
    """A failed upload leaves OUT exactly as it was: absent, or with its old bytes."""
    for existing in (None, b"old bytes, not a configuration"):
        sim = Sim(ctx, "sim", *sim_args)
        out = ctx.path("uploaded.chg")
        if existing is None and os.path.exists(out):
            os.remove(out)
        if existing is not None:
            with open(out, "wb") as f:
                f.write(existing)
        try:
            run_cli(ctx, sim, "upload", "--port", sim.device, model, "-o", out,
                    expect=expect_exit(result_code))
        except Failure as failure:
            # A simulator starved of CPU misses the protocol's fixed reply wait (result 2); that
            # says nothing about the fault under test, so a fresh simulator gets a second try.
            if getattr(failure, "exit", None) != expect_exit(2):
                raise
            sim.stop()
            sim = Sim(ctx, "sim-again", *sim_args)
            run_cli(ctx, sim, "upload", "--port", sim.device, model, "-o", out,
                    expect=expect_exit(result_code))
        sim.stop()
        if existing is None and os.path.exists(out):
            raise Failure("the failed upload wrote its output file")
        if existing is not None:
            with open(out, "rb") as f:
                if f.read() != existing:
                    raise Failure("the failed upload replaced the existing output file")


def case_old_format_question(ctx):
    # An archive of an earlier version meets new firmware: "Download hint:" decides the format.
    src = fixture(ctx, "edition220")
    doc = show(ctx, src)["CONFIG"]
    if doc["ConfigEdition"] != 220:
        raise Failure(f"the fixture reads as edition {doc['ConfigEdition']}")
    sim = Sim(ctx, "sim", "--firmware", "5.2")
    run_cli(ctx, sim, "download", src, "--port", sim.device, "--yes", expect=expect_exit(16))
    run_cli(ctx, sim, "download", src, "--port", sim.device, "--yes", "--old-format", "cancel",
            expect=expect_exit(16))
    if sim.received() != ["FE 00 FE", "FE 00 FE"]:
        raise Failure(f"a cancelled download sent {sim.received()}")
    run_cli(ctx, sim, "download", src, "--port", sim.device, "--yes", "--old-format",
            "compatible", expect=0)
    # Asked on a terminal, "1" is the compatible format.
    keys, terminal = os.openpty()
    os.write(keys, b"1\n")
    typed = subprocess.run([ctx.cli_exe, "download", src, "--port", sim.device, "--yes"],
                           stdin=terminal, capture_output=True, timeout=CLI_TIMEOUT_S)
    os.close(keys)
    os.close(terminal)
    if typed.returncode != 0:
        raise Failure(f"the typed answer 1: exit {typed.returncode} {typed.stderr!r}")
    # Edition 220 has no RPDO cycle: the new format's completeness check names it.
    out = run_cli(ctx, sim, "download", src, "--port", sim.device, "--yes", "--old-format",
                  "new", expect=expect_exit(13))
    if out != '"CANopen Network\\The Cycle for RPDO Transmission"is empty\n':
        raise Failure(f"unexpected message {out!r}")
    headers = [f[:5] for f in sim.received() if f.startswith("02 ") and f[3:5] in ("0F", "23")]
    if headers != ["02 0F", "02 0F"]:
        raise Failure(f"headers sent: {headers}, want two in the compatible format")
    assert_clean_log(sim)


OPEN_FAILED = "Failed to open serial port"
REASON_BUSY = "The port is in use by another program or transfer."
REASON_NOT_TERMINAL = "The path does not name a terminal (serial) device."
REASON_MISSING = "The device does not exist or was unplugged."


def expect_open_failed(ctx, args, port, reason, env_ports):
    """A transfer that cannot open its port: result 0, the message on stderr naming the port."""
    out, err = run_cli(ctx, None, *args, "--port", port, expect=expect_exit(0),
                       env_ports=env_ports, with_stderr=True)
    want = f"torvane-cli: {port}: {OPEN_FAILED}\n{reason}\n"
    if out or err != want:
        raise Failure(f"--port {port}: stdout {out!r}, stderr {err!r}; want stderr {want!r}")


def case_port_busy(ctx):
    # A second transfer on a busy port fails at once, even under an unlisted alias of it.
    src = fixture(ctx, "compatible")
    sim = Sim(ctx, "sim", "--old-firmware")
    link = ctx.path("gateway")
    chain = ctx.path("by-id-gateway")
    os.symlink(sim.device, link)
    os.symlink(link, chain)
    env = dict(os.environ, TORVANE_EXTRA_PORTS=sim.device)
    first = subprocess.Popen([ctx.cli_exe, "download", src, "--port", sim.device, "--yes"],
                             env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE)
    ctx.background.append(first)
    deadline = time.monotonic() + 10
    while not sim.received() and time.monotonic() < deadline:
        time.sleep(0.05)
    # Which names lead to a busy port is the port layer's unit test.
    expect_open_failed(ctx, ["upload", "--master", "-o", ctx.path("up.chg")], chain, REASON_BUSY,
                       NO_EXTRA_PORTS)
    if first.poll() is not None:
        raise Failure("the first download ended before the second was refused")
    if first.wait(CLI_TIMEOUT_S) != 0:
        raise Failure("the first download failed: " + first.stderr.read().decode())
    if os.path.exists(ctx.path("up.chg")):
        raise Failure("a refused upload wrote its output file")
    assert_clean_log(sim)


def case_port_not_terminal(ctx):
    # Paths that name no terminal: result 0 with the reason, at once (a FIFO must not block).
    # Every kind of path is the port layer's unit test.
    src = fixture(ctx, "compatible")
    fifo = ctx.path("fifo")
    os.mkfifo(fifo)
    expect_open_failed(ctx, ["download", src, "--yes"], fifo, REASON_NOT_TERMINAL, fifo)
    expect_open_failed(ctx, ["upload", "--slave", "-o", ctx.path("up.chg")],
                       ctx.path("no-such-tty"), REASON_MISSING, NO_EXTRA_PORTS)
    if os.path.exists(ctx.path("up.chg")):
        raise Failure("a refused upload wrote its output file")


# Faults that need nothing but the result code: (fixture, simulator options, result code) for a
# download, (simulator options, result code) for an upload.
DOWNLOAD_FAULTS = {
    "fault-silent": ("compatible", ["--silent"], 2),
    # Frame 1 is the identification, 2 the header, 5 the third data frame.
    "fault-drop-data-compatible": ("compatible", ["--old-firmware", "--drop-frame", "5"], 5),
    "fault-bad-options-reply": ("new", ["--firmware", "7.3", "--bad-ack", "15"], 3),
}
UPLOAD_FAULTS = {
    # 1 identification, 2 stored-format query, 3 identification, 4 header, 6 second data frame.
    "fault-upload-bad-reply": (["--firmware", "5.2", "--bad-ack", "6"], 3),
    "fault-upload-drop-request": (["--old-firmware", "--drop-frame", "4"], 2),
}


CASES = {name[len("case_"):].replace("_", "-"): fn
         for name, fn in globals().items() if name.startswith("case_")}
CASES.update({name: (lambda ctx, a=args: download_fault(ctx, *a))
              for name, args in DOWNLOAD_FAULTS.items()})
CASES.update({name: (lambda ctx, a=args: upload_fault(ctx, *a))
              for name, args in UPLOAD_FAULTS.items()})


def children_of(pid):
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if int(fields[1]) == pid and fields[0] != "Z":
            found.append(int(entry))
    return found


def main(cases=None, doc=__doc__):
    """Runs one case of `cases` (this file's by default) in an emptied work folder; returns the
    exit code. verify_e2e.py runs its cases through here too."""
    cases = cases or CASES
    ap = argparse.ArgumentParser(description=doc)
    ap.add_argument("--bin", required=True, help="folder of torvane-cli and torvane-gatewaysim")
    ap.add_argument("--work", required=True, help="scratch folder (emptied first)")
    ap.add_argument("--case", required=True, choices=sorted(cases))
    ap.add_argument("--data", help="the folder of the test data files")
    args = ap.parse_args()

    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    ctx = Context(args.bin, args.work)
    ctx.data = args.data
    failure = None
    try:
        cases[args.case](ctx)
    except (Failure, subprocess.CalledProcessError) as e:
        failure = str(e)
    finally:
        problems = ctx.cleanup()
    left = children_of(os.getpid())
    if left:
        problems.append(f"processes left behind: {left}")
    for sim in ctx.sims:
        if os.path.exists(sim.log):
            print(f"--- {sim.name} log ---\n{sim.log_text()}")
    if failure or problems:
        print("FAIL: " + "\n".join(filter(None, [failure] + problems)))
        return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())

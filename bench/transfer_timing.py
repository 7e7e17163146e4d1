#!/usr/bin/env python3
"""Times each download variant of torvane-cli against torvane-gatewaysim and prints figures.

For every variant it prints the wall time of the whole `torvane-cli download` run, the floor
(the waits the protocol mandates plus every byte on the wire at 57600 baud, 11 bits a byte),
the overhead above the floor, and the CPU the command line used: in total and while waiting
(the total minus the cost of a run that stops right after loading and opening, over the time
spent beyond that run).

Usage: bench/transfer_timing.py [--bin build/default/bin] [--runs 3]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools",
                                "gatewaysim"))
from simulator_process import SimulatorProcess  # noqa: E402

BIT_TIME_MS = 11 * 1000.0 / 57600  # one byte: start bit, 8 data bits, parity, stop bit

# Waits of the link primitives, in ms (the passes that find a reply take one more pass to see
# the queue empty).
WRITE = 50                      # WriteFrame
READ = 50 + 50                  # ReadAvailable / ReadReply with a reply
EXCHANGE = 50 + 100 + READ      # Exchange
EXCHANGE_500 = 500 + 50 + 500 + READ
IDENTIFY = WRITE + READ

ID_BYTES = 3 + 11               # request and the simulator's reply
ACK = 5


def floor_compatible():
    waits = IDENTIFY + EXCHANGE + 500 + 11 * EXCHANGE_500 + WRITE + 2000 + READ
    wire = ID_BYTES + (18 + ACK) + 12 * (47 + ACK)
    return waits, wire


def floor_new(options):
    waits = IDENTIFY + EXCHANGE + 11 * EXCHANGE + WRITE + 3000 + READ
    wire = ID_BYTES + (38 + ACK) + 12 * (96 + ACK)
    if options:
        waits += WRITE + 100 + READ
        wire += 18 + ACK
    return waits, wire


def floor_slave():
    waits = IDENTIFY + 13 * EXCHANGE_500
    wire = ID_BYTES + 13 * ACK + 13 + 12 * 47
    return waits, wire


VARIANTS = [
    # name, fixture, simulator options, floor
    ("TAVO20 compatible", "compatible", ["--old-firmware"], floor_compatible),
    ("TAVO20 new + options", "new", ["--firmware", "5.2"], lambda: floor_new(True)),
    ("TAVO20 new, no options", "new", ["--firmware", "5.1"], lambda: floor_new(False)),
    ("TAVO20S", "slave", ["--model", "slave"], floor_slave),
]


def timed_run(cli, args, env):
    """Wall time (ms), CPU time (ms) and exit code of one command-line run."""
    start = os.times().elapsed
    proc = subprocess.Popen([cli, *args], env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = (os.times().elapsed - start) * 1000
    proc.returncode = os.waitstatus_to_exitcode(status)
    return wall, (usage.ru_utime + usage.ru_stime) * 1000, proc.returncode


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    here = os.path.dirname(os.path.abspath(__file__))
    ap.add_argument("--bin", default=os.path.join(here, "..", "build", "default", "bin"))
    ap.add_argument("--runs", type=int, default=3)
    args = ap.parse_args()
    sim_exe = os.path.join(args.bin, "torvane-gatewaysim")
    cli = os.path.join(args.bin, "torvane-cli")
    data = os.path.join(here, "..", "tests", "data", "transfer")

    with tempfile.TemporaryDirectory() as work:
        files = {}
        for v in ("compatible", "new", "slave"):
            files[v] = os.path.join(work, v + ".chg")
            shutil.copyfile(os.path.join(data, v + ".chg"), files[v])

        # What a run costs without any waiting: load, look up the port, fail to open it.
        env = dict(os.environ, TORVANE_EXTRA_PORTS=os.path.join(work, "missing"))
        base = [timed_run(cli, ["download", files["new"], "--port", env["TORVANE_EXTRA_PORTS"],
                                "--yes"], env) for _ in range(args.runs)]
        base_wall = statistics.median(b[0] for b in base)
        base_cpu = statistics.median(b[1] for b in base)
        print(f"start-up run (no port): wall {base_wall:.0f} ms, CPU {base_cpu:.0f} ms\n")

        print(f"{'variant':24} {'floor ms':>9} {'(waits':>7} {'+wire)':>7} {'wall ms':>8} "
              f"{'overhead':>9} {'vs waits':>9} {'CPU ms':>7} {'CPU %':>6} {'waiting CPU %':>14}")
        worst_overhead = -1e9
        worst_cpu = 0.0
        for name, fix, sim_args, floor in VARIANTS:
            waits, wire_bytes = floor()
            wire = wire_bytes * BIT_TIME_MS
            total_floor = waits + wire
            walls, cpus = [], []
            for _ in range(args.runs):
                sim = SimulatorProcess(sim_exe, sim_args)
                try:
                    env = dict(os.environ, TORVANE_EXTRA_PORTS=sim.device)
                    wall, cpu, code = timed_run(
                        cli, ["download", files[fix], "--port", sim.device, "--yes"], env)
                finally:
                    sim.stop()
                if code != 0:
                    print(f"{name}: download failed with exit {code}", file=sys.stderr)
                    return 1
                walls.append(wall)
                cpus.append(cpu)
            wall = statistics.median(walls)
            cpu = statistics.median(cpus)
            overhead = (wall - total_floor) / total_floor * 100
            over_waits = (wall - waits) / waits * 100
            waiting_cpu = max(cpu - base_cpu, 0) / max(wall - base_wall, 1) * 100
            worst_overhead = max(worst_overhead, overhead)
            worst_cpu = max(worst_cpu, waiting_cpu)
            print(f"{name:24} {total_floor:9.0f} {waits:7.0f} {wire:7.0f} {wall:8.0f} "
                  f"{overhead:8.1f}% {over_waits:8.1f}% {cpu:7.0f} {cpu / wall * 100:5.2f}% {waiting_cpu:13.2f}%")
        print(f"\nmedian of {args.runs} runs each; targets: overhead <= 5 % "
              f"(worst {worst_overhead:.1f} %), CPU while waiting < 5 % of one core "
              f"(worst {worst_cpu:.2f} %)")
        print("note: a pseudo-terminal moves bytes without wire time, so the wall time can sit "
              "below a floor that counts it;\n'vs waits' is the overhead above the waits alone")
    return 0


if __name__ == "__main__":
    sys.exit(main())

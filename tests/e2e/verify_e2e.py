#!/usr/bin/env python3
"""torvane-cli verify and diff end to end, against torvane-gatewaysim on a pseudo-terminal.

A configuration downloaded to the simulator verifies equal; a changed file, a command a
download leaves out and a gateway holding another configuration differ by exactly what changed;
a failed upload gives 10 + its result code and writes nothing.
"""

import hashlib
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import transfer_e2e as t  # noqa: E402


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def files_in(ctx):
    return sorted(n for n in os.listdir(ctx.work) if not n.endswith(".log"))


def download(ctx, variant, *sim_args, store=True):
    src = t.fixture(ctx, variant)
    args = ["--store", ctx.path("gateway.store")] if store else []
    sim = t.Sim(ctx, "sim", *args, *sim_args)
    t.run_cli(ctx, sim, "download", src, "--port", sim.device, "--yes", expect=0)
    return src, sim


def verify(ctx, sim, src, expect, json_output=False):
    """Runs verify; IN and the folder's files stay exactly as they were."""
    before = (digest(src), files_in(ctx))
    args = ["verify", src, "--port", sim.device] + (["--json"] if json_output else [])
    out, err = t.run_cli(ctx, sim, *args, expect=expect, with_stderr=True)
    if (digest(src), files_in(ctx)) != before:
        raise t.Failure("verify changed IN or wrote a file")
    return out, err


def expect_lines(out, lines):
    got = out.splitlines()
    if got != lines:
        raise t.Failure(f"differences {got}, expected {lines}")


def verify_equal(ctx, variant, *sim_args):
    src, sim = download(ctx, variant, *sim_args)
    expect_lines(verify(ctx, sim, src, 0)[0], [])
    if variant == "new":
        doc = json.loads(verify(ctx, sim, src, 0, json_output=True)[0])
        if doc["equal"] is not True or doc["differences"] != []:
            raise t.Failure(f"JSON {doc}")


EQUAL = {"new": ["--firmware", "5.2"], "compatible": ["--old-firmware"]}


def case_verify_cut_85(ctx):
    src, sim = download(ctx, "master85", "--firmware", "5.2")
    out, _ = verify(ctx, sim, src, 1)
    expect_lines(out, ["Node 5 / Download SDO Index 8192 Sub-index 85: (not sent) -> (absent)"])


def changed_xml(ctx, src):
    """src as XML with SDO Response Timeout 150 changed to 151."""
    xml = ctx.path("changed.xml")
    subprocess.run([ctx.cli_exe, "convert", src, xml], check=True, capture_output=True,
                   timeout=30)
    with open(xml, "rb") as f:
        text = f.read()
    old = b"<SDOTimeout Value=\"150\"/>"
    if text.count(old) != 1:
        raise t.Failure("the XML file holds no single SDOTimeout of 150")
    with open(xml, "wb") as f:
        f.write(text.replace(old, b"<SDOTimeout Value=\"151\"/>"))
    return xml


def case_verify_changed_field(ctx):
    # The compatible format carries only fields the XML file holds too.
    src, sim = download(ctx, "compatible", "--old-firmware")
    xml = changed_xml(ctx, src)
    out, _ = verify(ctx, sim, xml, 1)
    expect_lines(out, ["CANopen: SDO Response Timeout: 151 -> 150"])


def case_verify_fault(ctx):
    # A failed upload is reported as the transfer's failure, never as differences; a flipped bit
    # (here the header's node ID, frame 4) is one. --json answers with the result.
    src = t.fixture(ctx, "new")
    for sim_args, code, json_output in ((["--old-firmware", "--drop-frame", "4"], 2, False),
                                        (["--firmware", "5.2", "--flip-bit", "4"], 3, True)):
        sim = t.Sim(ctx, "sim", *sim_args)
        out, _ = verify(ctx, sim, src, t.expect_exit(code), json_output=json_output)
        if "->" in out:
            raise t.Failure("a failed upload was compared")
        if json_output and json.loads(out) != {"transferResult": code,
                                               "message": t.RESULT_TEXTS[code]}:
            raise t.Failure(f"JSON of a failed upload: {out!r}")
        sim.stop()
        ctx.sims.remove(sim)
    # IN cannot be put in the format the gateway stores (96 bytes in the compatible format).
    sim = t.Sim(ctx, "sim", "--old-firmware")
    _, err = verify(ctx, sim, src, 2)
    if "The current configuration does not support" not in err:
        raise t.Failure(f"no reason given: {err!r}")


def run(ctx, *args, expect):
    return t.run_cli(ctx, None, *args, expect=expect, env_ports=t.NO_EXTRA_PORTS)


def case_diff_files(ctx):
    new = t.fixture(ctx, "new")
    yes = t.fixture(ctx, "nmt-yes")
    compatible = t.fixture(ctx, "compatible")
    expect_lines(run(ctx, "diff", new, yes, expect=1), ["CANopen: Enable NMT: Enable -> Yes"])
    expect_lines(run(ctx, "diff", new, yes, "--carried", expect=0), [])
    xml = changed_xml(ctx, compatible)
    expect_lines(run(ctx, "diff", compatible, xml, expect=1),
                 ["CANopen: SDO Response Timeout: 150 -> 151"])
    doc = json.loads(run(ctx, "diff", compatible, xml, "--json", expect=1))
    if doc["differences"] != [{"place": "CANopen: SDO Response Timeout", "ours": "150",
                               "theirs": "151"}] or doc["notCompared"]["count"] < 1:
        raise t.Failure(f"JSON {doc}")
    # The 96-byte buffer has no compatible code: nothing to compare.
    run(ctx, "diff", new, new, "--carried", "--format", "compatible", expect=2)
    run(ctx, "diff", new, ctx.path("missing.chg"), expect=2)


CASES = {name[len("case_"):].replace("_", "-"): fn
         for name, fn in globals().items() if name.startswith("case_")}
CASES.update({"verify-" + v: (lambda ctx, v=v, a=a: verify_equal(ctx, v, *a))
              for v, a in EQUAL.items()})


if __name__ == "__main__":
    sys.exit(t.main(CASES, __doc__))

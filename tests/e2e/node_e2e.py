#!/usr/bin/env python3
"""torvane-cli node add, from the outside: node_e2e.py BIN_DIR DATA_DIR WORK_DIR.

A node and its commands from e35.eds, read back with show --json, mapped, downloaded to the
simulated gateway and uploaded again; exit codes 0/3/1/2 and nothing written on a failure.
"""
import json
import os
import shutil
import sys

bin_dir, data, work = sys.argv[1], sys.argv[2], sys.argv[3]
cli = os.path.join(bin_dir, "torvane-cli")
here = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [here, os.path.join(here, "..", "..", "tools", "gatewaysim")]
import e2e_common as common  # noqa: E402
from e2e_common import check  # noqa: E402
from simulator_process import SimulatorProcess  # noqa: E402

e35 = os.path.join(data, "devices", "e35.eds")
shutil.rmtree(work, ignore_errors=True)
work = os.path.join(work, "Konfiguration-配置")
os.makedirs(work)
env = dict(os.environ, LC_ALL="C.UTF-8", XDG_DATA_HOME=os.path.join(work, "data"))


def run(args, rc=0, timeout=60):
    return common.run(cli, args, rc, env, timeout)


def show(path):
    return json.loads(run(["show", path, "--json"]).stdout.decode("utf-8"))["CONFIG"]


cfg = os.path.join(work, "anlage.chg")
run(["new", "--master", cfg])

# The drive's enabled default PDOs and SDOs; an object that cannot be written is refused.
r = run(["node", "add", cfg, "--device", e35, "--address", "5", "--pdos",
         "--upload", "0x6041:0", "--download", "6040h:0", "--upload", "0x1018:1",
         "--upload", "0x6064:0", "--download", "0x6041:0"], rc=3)
err = r.stderr.decode()
check("0x6041 sub 0 (Download SDO) not added: 0x6041 sub 0 cannot be written" in err, err)
c = show(cfg)
check(c["NodeCount"] == 1 and c["Nodes"][0]["NodeAddress"] == "5", repr(c["Nodes"]))
name = c["Nodes"][0]["NodeName"]
cmds = [(i["InstructionType"], i["Index"], i["SubIndex"], i["CobId"], i["Bytes"],
         i["Description"], i["MappingAddress"], i["NodeAddress"]) for i in c["Instructions"]]
check(("3", "", "", "389", "6", "Velocity actual value, Statusword", "", "5") in cmds,
      "TPDO 1 for node 5: " + repr(cmds))
check(("1", "24641", "0", "", "2", "Statusword", "", "5") in cmds, "0x6041: " + repr(cmds))
check(("2", "24640", "0", "", "2", "Controlword", "", "5") in cmds, "0x6040: " + repr(cmds))
check(all(k[0] in "1234" for k in cmds) and name != "Node-5", "product name: " + name)

# Refused as a whole: nothing written.
before = open(cfg, "rb").read()
run(["node", "add", cfg, "--device", e35, "--address", "5"], rc=1)
run(["node", "add", cfg, "--device", e35, "--address", "127"], rc=1)
run(["node", "add", cfg, "--device", os.path.join(work, "missing.eds"), "--address", "6"], rc=1)
slave = os.path.join(work, "slave.xml")
run(["new", "--slave", slave])
run(["node", "add", slave, "--device", e35, "--address", "6", "-o", cfg], rc=1)
u = run(["node", "add", cfg, "--device", e35, "--address", "6", "--upload", "6041:0"], rc=2)
check(b"write 0x6041 or 6041h" in u.stderr, u.stderr.decode())
check(open(cfg, "rb").read() == before, "a failed command changed the file")

# From the library by key, written as XML by the output's extension; every command added.
run(["device", "import", e35])
xml = os.path.join(work, "anlage.xml")
run(["node", "add", cfg, "--device", "0x00000065:0x00000019:0x00000127", "--address", "7",
     "--name", "Achse 2", "--upload", "0x6041:0", "-o", xml])
x = show(xml)
check(x["NodeCount"] == 2 and x["Nodes"][1]["NodeName"] == "Achse 2", repr(x["Nodes"]))
check(open(cfg, "rb").read() == before, "-o left IN alone")

# Mapped and downloaded to the simulated gateway; the upload gives the commands back.
mapped = os.path.join(work, "mapped.chg")
run(["map", xml, "-o", mapped])
sent = show(mapped)
check(all(i["MappingAddress"] != "" for i in sent["Instructions"]), "mapping addresses")
sim = SimulatorProcess(os.path.join(bin_dir, "torvane-gatewaysim"), ["--firmware", "5.2"])
try:
    run(["download", mapped, "--port", sim.device, "--yes"], timeout=120)
    up = os.path.join(work, "uploaded.chg")
    run(["upload", "--port", sim.device, "--master", "-o", up], timeout=120)
finally:
    sim.stop()
key = ("NodeAddress", "InstructionType", "Index", "SubIndex", "CobId", "MappingAddress", "Bytes")
got = sorted(tuple(i[k] for k in key) for i in show(up)["Instructions"])
want = sorted(tuple(i[k] for k in key) for i in sent["Instructions"])
check(got == want, f"uploaded {got}\n  sent {want}")
print("ok")

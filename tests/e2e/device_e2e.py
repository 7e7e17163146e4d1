#!/usr/bin/env python3
"""torvane-cli device, from the outside: device_e2e.py CLI DATA_DIR WORK_DIR.

show --json read back with Python's json module; exit codes; the library in an isolated
XDG_DATA_HOME under a folder that is not ASCII.
"""
import json
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_common as common  # noqa: E402
from e2e_common import check  # noqa: E402

cli, data, work = sys.argv[1], sys.argv[2], sys.argv[3]
devices = os.path.join(data, "devices")
shutil.rmtree(work, ignore_errors=True)
os.makedirs(work)
xdg = os.path.join(work, "Daten-数据")
library = os.path.join(xdg, "torvane", "devices")


def run(args, rc=0, env=None):
    full = dict(os.environ, LC_ALL="C.UTF-8", XDG_DATA_HOME=xdg)
    full.update(env or {})
    return common.run(cli, ["device"] + args, rc, {k: v for k, v in full.items() if v is not None})


def show_json(path, *extra):
    return json.loads(run(["show", path, "--json", *extra]).stdout.decode("utf-8"))


# A drive's file: identity, default PDOs for node 5, objects with their sizes.
e35 = show_json(os.path.join(devices, "e35.eds"), "--node", "5")
check(e35["key"] == "0x00000065:0x00000019:0x00000127" and e35["kind"] == "eds", "e35 key")
check(e35["deviceInfo"]["vendorNumber"] == 101 and e35["deviceInfo"]["nrOfTxPdo"] == 4,
      "numbers as numbers: " + repr(e35["deviceInfo"]))
tpdo1 = next(p for p in e35["defaultPdos"] if p["label"] == "TPDO 1")
check(tpdo1["cobId"] == 0x185 and tpdo1["valid"] and tpdo1["bytes"] == 6, "TPDO 1: " + repr(tpdo1))

# What vendors ship: Windows-1252 text in UTF-8, nothing on the terminal that is no text.
mess_path = os.path.join(devices, "bad", "vendor_mess.eds")
mess = show_json(mess_path, "--node", "3")
check(mess["deviceInfo"]["vendorName"] == "Antriebe Müller GmbH", "Windows-1252 name")
hostile = os.path.join(work, "hostile.eds")
with open(hostile, "wb") as f:
    f.write(b"[DeviceInfo]\nVendorName=red\x1b[31m\x07 \\ end\n")
out = run(["show", hostile]).stdout.decode("utf-8")
check("red\\x1B[31m\\x07 \\\\ end" in out and "\x1b" not in out, "printable vendor text: " + out)

# Refused: no device, not a regular file, missing; usage faults.
err = run(["show", os.path.join(devices, "bad", "no_device.eds")], rc=1).stderr.decode("utf-8")
check("no_device.eds: holds no device description: no [DeviceInfo] section and no objects" in err,
      err)
fifo = os.path.join(work, "pipe.eds")
os.mkfifo(fifo)
check("not a regular file" in run(["show", fifo], rc=1).stderr.decode("utf-8"), "FIFO refused")
run(["show", os.path.join(work, "missing.eds")], rc=1)
for args in (["bogus"], ["show", mess_path, "--node", "128"], ["import"]):
    run(args, rc=2)

# The library: import, replace, refuse without writing, list, remove.
e35_path = os.path.join(devices, "e35.eds")
out = run(["import", e35_path, os.path.join(devices, "compact.dcf"),
           os.path.join(devices, "datatypes.eds")]).stdout.decode("utf-8")
check(out.count("imported ") == 3, out)
with open(e35_path, "rb") as a, open(os.path.join(
        library, "0x00000065_0x00000019_0x00000127.eds"), "rb") as b:
    check(a.read() == b.read(), "copied unchanged")
run(["import", e35_path])
before = sorted(os.listdir(library))
run(["import", mess_path, os.path.join(devices, "bad", "no_device.eds")], rc=1)
check(sorted(os.listdir(library)) == before, "a refused import writes nothing")
listed = json.loads(run(["list", "--json"]).stdout.decode("utf-8"))
check([d["key"] for d in listed] == ["0x00000065:0x00000019:0x00000127",
                                     "0x000000AB:0x00000008:0x00010002:dcf", "datatypes"],
      "list: " + repr(listed))
check(listed[0]["productName"] == "example" and listed[0]["notes"] == 4, repr(listed[0]))
run(["remove", "0x000000ab:0x00000008:0x00010002:dcf"])
run(["remove", "0x000000AB:0x00000008:0x00010002:dcf"], rc=1)
check(len(json.loads(run(["list", "--json"]).stdout)) == 2, "removed")
# No data folder at all: nothing is written anywhere.
run(["list"], rc=1, env={"XDG_DATA_HOME": None, "HOME": None})
run(["import", e35_path], rc=1, env={"XDG_DATA_HOME": "relative", "HOME": None})
check(not os.path.exists("relative"), "a relative XDG_DATA_HOME is no folder")
print("ok")

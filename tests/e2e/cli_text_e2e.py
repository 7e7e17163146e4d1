#!/usr/bin/env python3
"""torvane-cli and texts that are not ASCII: cli_text_e2e.py CLI DATA_DIR WORK_DIR."""
import json
import os
import re
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_common as common  # noqa: E402
from e2e_common import check  # noqa: E402

cli, data, work = sys.argv[1], sys.argv[2], sys.argv[3]
shutil.rmtree(work, ignore_errors=True)
folder = os.path.join(work, "Prüfstand-配置")
os.makedirs(folder)

WENDU = "温度"
NODE = "电机 ü"
UNDECODABLE = b"\xb5\xe7\xff"  # a whole character, then a byte GB18030 never starts with


def run(args, rc=0, locale="C.UTF-8"):
    return common.run(cli, args, rc, dict(os.environ, LC_ALL=locale))


# A configuration whose node name and descriptions carry GB18030 bytes, written as XML (the
# format a person edits by hand) and converted to an archive inside the non-ASCII folder.
xml_path = os.path.join(work, "texts.xml")
run(["convert", os.path.join(data, "escapes.chg"), xml_path])
with open(xml_path, "rb") as f:
    xml = f.read()
descriptions = iter([WENDU.encode("gb18030"), UNDECODABLE])
xml, n = re.subn(rb'(<Description Value=")[^"]*(")',
                 lambda m: m.group(1) + next(descriptions, b"") + m.group(2), xml)
check(n >= 2, "two descriptions in the XML")
xml, n = re.subn(rb'(<NodeName Value=")[^"]*(")', lambda m: m.group(1) + NODE.encode("gb18030")
                 + m.group(2), xml, count=1)
check(n == 1, "a node name in the XML")
with open(xml_path, "wb") as f:
    f.write(xml)
archive = os.path.join(folder, "anlage.chg")
run(["convert", xml_path, archive])

# JSON: UTF-8 a JSON reader takes as it is; undecodable text as its bytes in hex.
out = run(["show", archive, "--json"]).stdout
cfg = json.loads(out.decode("utf-8"))
commands = cfg["CONFIG"]["Instructions"]
check(commands[0]["Description"] == WENDU, f"Description {commands[0]['Description']!r}")
check(commands[1]["Description"] == {"bytes": UNDECODABLE.hex()},
      f"undecodable Description {commands[1]['Description']!r}")
check(cfg["CONFIG"]["Nodes"][0]["NodeName"] == NODE, "NodeName " + repr(cfg["CONFIG"]["Nodes"][0]))
check(b"\\u00" not in out, "no byte-wise escapes")
# The same output whatever the locale: JSON is always UTF-8.
check(run(["show", archive, "--json"], locale="C").stdout == out, "JSON independent of locale")

# The summary in the terminal's encoding, UTF-8 here.
text = run(["show", archive]).stdout.decode("utf-8")
check(WENDU in text and NODE in text and "电\\xFF" in text, "names in UTF-8:\n" + text)

# No text reaches the terminal as a control sequence or a second line: a description with an
# escape sequence, a bell, GB18030's form of U+0080, a line end, a backslash and the diff arrow;
# a file name with an escape sequence.
HOSTILE = b"red\x1b[31m -> \\ \x81\x30\x81\x30\x07 &#10;x"
SHOWN = "red\\x1B[31m -> \\\\ \\x80\\x07 \\nx"
hostile_xml = os.path.join(work, "hostile.xml")
with open(hostile_xml, "wb") as f:
    f.write(re.sub(rb'(<Description Value=")[^"]*(")', lambda m: m.group(1) + HOSTILE + m.group(2),
                   xml, count=1))
hostile = os.path.join(folder, "bad\x1b[2Jname.chg")
run(["convert", hostile_xml, hostile])
outputs = {
    "show": run(["show", hostile]).stdout.decode("utf-8"),
    "diff": run(["diff", archive, hostile], rc=1).stdout.decode("utf-8"),
    "error": run(["show", hostile + ".missing"], rc=1).stderr.decode("utf-8"),
}
for name, text in outputs.items():
    check(not any(ord(c) < 0x20 and c != "\n" or 0x7F <= ord(c) <= 0x9F for c in text),
          f"{name} prints a control character: {text!r}")
check(SHOWN in outputs["show"] and "bad\\x1B[2Jname.chg" in outputs["show"],
      "show: " + outputs["show"])
diff_lines = outputs["diff"].splitlines()
check(len(diff_lines) == 1 and diff_lines[0].endswith(f'{WENDU} -> "{SHOWN}"'),
      "diff: " + outputs["diff"])
check("bad\\x1B[2Jname.chg.missing" in outputs["error"], "error: " + outputs["error"])

print("ok")

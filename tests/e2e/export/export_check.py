"""Black-box checks of torvane-cli eds/export, and of the written workbooks read with openpyxl.

  export_check.py cli CLI CASES OUT      run the commands on every case; exit codes, messages
  export_check.py workbook OUT TEMPLATES read the workbooks back and check their cells
"""
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

failures = []


def expect(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what, file=sys.stderr)


def run(cli, *args):
    p = subprocess.run([cli, *args], capture_output=True, text=True)
    return p.returncode, p.stderr


def check_cli(cli, cases, out):
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    names = sorted(n[:-4] for n in os.listdir(cases) if n.endswith(".chg"))
    expect(names, "no cases")
    for name in names:
        src = os.path.join(cases, name + ".chg")
        xlsx = os.path.join(out, name + ".xlsx")
        rc, err = run(cli, "export", src, "-o", xlsx)
        expect(rc == 0 and os.path.isfile(xlsx), f"export {name}: rc {rc} {err}")
        eds = os.path.join(out, name + ".eds")
        rc, err = run(cli, "eds", src, "-o", eds)
        if name.startswith("slave"):
            expect(rc == 0 and os.path.isfile(eds), f"eds {name}: rc {rc} {err}")
            shutil.copy(os.path.join(cases, name + ".pdos.json"), out)
        else:
            expect(rc == 1 and not os.path.exists(eds) and src in err,
                   f"eds of a master configuration: rc {rc} {err}")

    slave = os.path.join(cases, "slave_node1.chg")
    master = os.path.join(cases, "master_mixed.chg")
    with tempfile.TemporaryDirectory() as tmp:
        empty = os.path.join(tmp, "empty")
        os.mkdir(empty)
        broken = os.path.join(tmp, "broken")
        os.mkdir(broken)
        with open(os.path.join(broken, "Template_Master.xlsx"), "w") as f:
            f.write("not a workbook")
        target = os.path.join(tmp, "kept.out")
        for cmd in ("eds", "export"):
            missing = os.path.join(tmp, "missing.chg")
            rc, err = run(cli, cmd, missing, "-o", target)
            expect(rc == 1 and missing in err and not os.path.exists(target),
                   f"{cmd} of a missing file: rc {rc} {err}")

        # A failing run leaves an existing output exactly as it was.
        for args, needle in [
            (["eds", slave, "-o", target, "--template-dir", empty], "EDSTemplate1.dat"),
            (["export", master, "-o", target, "--template-dir", empty], "Template_Master.xlsx"),
            (["export", master, "-o", target, "--template-dir", broken], "Template_Master.xlsx"),
        ]:
            with open(target, "w") as f:
                f.write("previous")
            rc, err = run(cli, *args)
            with open(target) as f:
                kept = f.read()
            expect(rc == 1 and needle in err and kept == "previous",
                   f"{args}: rc {rc} {err} output {kept[:20]!r}")
            expect(sorted(os.listdir(tmp)) == ["broken", "empty", "kept.out"],
                   f"{args}: left {os.listdir(tmp)}")
        for needle, args in [
            ("EDSTemplate1.dat", ["eds", slave, "-o", os.path.join(tmp, "new.eds"),
                                  "--template-dir", empty]),
            ("Template_Master.xlsx", ["export", master, "-o", os.path.join(tmp, "new.xlsx"),
                                      "--template-dir", broken]),
        ]:
            rc, err = run(cli, *args)
            expect(rc == 1 and needle in err and not os.path.exists(args[3]),
                   f"{args}: rc {rc} {err}")
        # A failed save names OUT once, with the reason.
        for args, want in [
            (["eds", slave, "-o", "@"], "torvane-cli: @: Create EDS File Error!! (the folder "),
            (["export", master, "-o", "@"], "torvane-cli: Cannot save the workbook @ (the folder "),
        ]:
            out = os.path.join(tmp, "no", "such", "dir", "a." + args[0])
            rc, err = run(cli, *[out if a == "@" else a for a in args])
            expect(rc == 1 and err.startswith(want.replace("@", out)) and err.count(out) == 1,
                   f"{args[0]} to a missing folder: {err}")


def rows(ws):
    return [[c.value for c in r] for r in ws.iter_rows(min_row=2)]


def check_workbook(out, templates):
    import openpyxl

    def load(name):
        return openpyxl.load_workbook(os.path.join(out, name + ".xlsx"))

    for name, template in [("master_mixed", "Template_Master.xlsx"),
                           ("slave_pdos", "Template_Slave.xlsx")]:
        wb = load(name)
        tpl = openpyxl.load_workbook(os.path.join(templates, template))
        expect(wb.sheetnames == tpl.sheetnames, f"{name}: sheets {wb.sheetnames}")
        for ws in tpl:
            got = wb[ws.title]
            expect([c.value for c in got[1]] == [c.value for c in ws[1]], f"{name}/{ws.title}: row 1")
        with zipfile.ZipFile(os.path.join(out, name + ".xlsx")) as z, \
                zipfile.ZipFile(os.path.join(templates, template)) as t:
            expect(z.namelist() == t.namelist(), f"{name}: package parts differ")
            for part in ("xl/styles.xml", "xl/workbook.xml", "xl/sharedStrings.xml"):
                expect(z.read(part) == t.read(part), f"{name}: {part} changed")

    wb = load("master_empty")
    canopen = rows(wb["CANopen"])
    expect(len(canopen) == 1 and canopen[0][:14] == [
        "CANopen", "250K", "127", "200", "Disable", "0", "100", "0", "Disable", "0", "0",
        "Hold", "0", "Enable"], f"master_empty CANopen {canopen}")
    expect(canopen[0][14:16] == [None, None], "columns 15/16 must keep the template with Enable")
    expect(canopen[0][16:20] == ["0", "0", "0", "0"] and len(canopen[0]) == 20,
           f"master_empty counts {canopen[0][16:]}")
    for sheet in ("Upload SDO", "Download SDO", "TPDO", "RPDO"):
        expect(wb[sheet].max_row == 1, f"master_empty: {sheet} has rows")
    expect(rows(wb["Profibus"]) == [["Profibus", "112"]], f"Profibus {rows(wb['Profibus'])}")

    wb = load("master_mixed")
    canopen = rows(wb["CANopen"])[0]
    expect(canopen[13:20] == ["Disable", "3", "250", "3", "2", "1", "1"],
           f"master_mixed CANopen {canopen}")
    expect(rows(wb["Upload SDO"]) == [
        ["5", "24576 (6000H)", "0 (0H)", "2", "2", "first upload"],
        ["6", "24577 (6001H)", "1 (1H)", "4", "4", "second upload"],
        ["5", "0 (0H)", "0 (0H)", "1", "8", ""],
    ], f"Upload SDO {rows(wb['Upload SDO'])}")
    expect(rows(wb["Download SDO"]) == [["6", "8193 (2001H)", "1 (1H)", "1", "0", "valve"]],
           f"Download SDO {rows(wb['Download SDO'])}")
    expect(rows(wb["TPDO"]) == [["5", "389 (185H)", "2", "0", "speed"],
                                ["6", "390 (186H)", "1", "9", "trailing blank "]],
           f"TPDO {rows(wb['TPDO'])}")
    expect(rows(wb["RPDO"]) == [["6", "518 (206H)", "2", "1", "command"]],
           f"RPDO {rows(wb['RPDO'])}")

    wb = load("slave_pdos")
    expect(rows(wb["CANopen"]) == [["250K", "5", "0", "100", "1", "2"]],
           f"slave CANopen {rows(wb['CANopen'])}")
    expect(rows(wb["TPDO"]) == [["5", "389 (185H)", "2", "0", "speed"]], "slave TPDO")
    expect(rows(wb["RPDO"]) == [["5", "517 (205H)", "4", "0", "set"],
                                ["5", "518 (206H)", "1", "4", "mode"]],
           f"slave RPDO {rows(wb['RPDO'])}")
    expect("Upload SDO" not in wb.sheetnames, "slave workbook has SDO sheets")


def main():
    mode = sys.argv[1]
    if mode == "cli":
        check_cli(*sys.argv[2:5])
    elif mode == "workbook":
        check_workbook(*sys.argv[2:4])
    else:
        sys.exit(f"unknown mode {mode}")
    print(f"{mode}: {len(failures)} failure(s)")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()

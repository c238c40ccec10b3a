#!/usr/bin/env python3
"""The driver's DXF read back by an independent reader (ezdxf): a clean audit, metres,
the LP- layers, the Chinese texts, the arcs' centres and radii, a weak point's note and
mark in red (colour 1) on LP-WARN and nothing red for a covered case; no file and exit 3
for a refused press. Usage: dxf_roundtrip.py TERVALEN_CALC SCRATCH_DIR"""
import math
import os
import re
import subprocess
import sys

try:
    import ezdxf
except ImportError:
    print("SKIPPED: python3-ezdxf is not installed (scripts/deps.sh installs it)")
    sys.exit(77)

calc, scratch = sys.argv[1], sys.argv[2]
os.makedirs(scratch, exist_ok=True)
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def decoded(text):
    # ezdxf 0.18 leaves \U+XXXX escapes as they are written.
    return re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), text)


def reach(h, hr):
    return math.sqrt(h * (2 * hr - h))


def drawn(name, form, *inputs):
    path = os.path.join(scratch, name + ".dxf")
    if os.path.exists(path):
        os.remove(path)
    run = subprocess.run([calc, "--dxf", path, form, *inputs], capture_output=True, text=True)
    return run, path


# (name, form, inputs, arc centres expected (x, y) with radius Hr, texts expected)
cases = [
    ("rod", "frmRx_DLDanZ", ["CmbH=20", "CmbHx=5"], 30,
     [(-reach(20, 30), 30), (reach(20, 30), 30)],
     ["独立单针保护范围计算", "接闪杆（避雷针）", "滚球半径 Hr=30", "被保护面 Hx=5", "Rx=11.70115"]),
    ("roof", "frmRx_JSDanZ", ["CmbYesNo=是", "CmbH=40", "CmbHx=15"], 30,
     [(-reach(25, 30), 45), (reach(25, 30), 45)],
     ["架设于建筑物上的单针保护范围计算", "建筑物（与大地连通的等电位体）", "Rx=29.5804"]),
]
for name, form, inputs, hr, centres, texts in cases:
    run, path = drawn(name, form, *inputs)
    check(run.returncode == 0 and os.path.exists(path), f"{name}: exit {run.returncode} {run.stderr}")
    if not os.path.exists(path):
        continue
    doc = ezdxf.readfile(path)
    audit = doc.audit()
    check(doc.dxfversion == "AC1015", f"{name}: version {doc.dxfversion}")
    check(len(audit.errors) == 0 and len(audit.fixes) == 0,
          f"{name}: audit {[str(e) for e in audit.errors]} {[str(f) for f in audit.fixes]}")
    check(doc.header["$INSUNITS"] == 6, f"{name}: $INSUNITS {doc.header['$INSUNITS']}")
    layers = {layer.dxf.name for layer in doc.layers}
    for layer in ["LP-ROD", "LP-RANGE", "LP-AUX", "LP-HX", "LP-DIM", "LP-TEXT", "LP-WARN"]:
        check(layer in layers, f"{name}: layer {layer} missing")
    msp = doc.modelspace()
    found = {decoded(t.dxf.text) for t in msp.query("TEXT")}
    for text in texts:
        check(text in found, f"{name}: text {text!r} not among {sorted(found)}")
    arcs = [(a.dxf.center.x, a.dxf.center.y, a.dxf.radius) for a in msp.query("ARC")]
    for cx, cy in centres:
        check(any(abs(x - cx) < 1e-6 and abs(y - cy) < 1e-6 and abs(r - hr) < 1e-9 for x, y, r in arcs),
              f"{name}: no arc of radius {hr} centred at {cx},{cy} among {arcs}")
    # The plan lies below the section: its Rx circle is centred below the ground.
    circles = [c for c in msp.query("CIRCLE") if c.dxf.layer == "LP-RANGE"]
    check(circles and all(c.dxf.center.y < 0 for c in circles), f"{name}: plan circles {circles}")

# Three rods whose centre the sphere reaches (Hoc = 4.148542 m < Hx = 4.5 m): the note in
# red on LP-WARN, and a red ring at the centroid of the plan; at Hx = 5 and L = 30 the
# centre is covered (9.494897 m) and nothing is red but the layer LP-RANGE.
centre = "三针中心：Hx 高度该处无保护（Hoc = 4.148542 m < Hx = 4.5 m）"
for name, inputs, weak in [("centre", ["CmbHr=30", "CmbH=15", "CmbHx=4.5", "CmbL=40"], True),
                           ("covered", ["CmbHr=30", "CmbH=15", "CmbHx=5", "CmbL=30"], False)]:
    run, path = drawn(name, "frmRx_DLSanZ", *inputs)
    check(run.returncode == 0 and os.path.exists(path), f"{name}: exit {run.returncode} {run.stderr}")
    if not os.path.exists(path):
        continue
    doc = ezdxf.readfile(path)
    check(len(doc.audit().errors) == 0, f"{name}: audit errors")
    msp = doc.modelspace()
    red = [e for e in msp if e.dxf.hasattr("color") and e.dxf.color == 1]
    check(all(e.dxf.layer == "LP-WARN" for e in red), f"{name}: red off LP-WARN {red}")
    notes = [decoded(e.dxf.text) for e in red if e.dxftype() == "TEXT"]
    rings = [e for e in red if e.dxftype() == "CIRCLE"]
    if weak:
        check(centre in notes, f"{name}: no red {centre!r} among {notes}")
        # The plan's first rod is its highest rod mark at x = 0; the centroid L/√3 below
        # the middle of the first side.
        rods = [c.dxf.center for c in msp.query("CIRCLE") if c.dxf.layer == "LP-ROD"
                and abs(c.dxf.center.x) < 1e-9 and c.dxf.center.y < 0]
        o = max(rods, key=lambda p: p.y)
        cx, cy = o.x + 20, o.y - 40 / (2 * math.sqrt(3))
        check(any(abs(r.dxf.center.x - cx) < 1e-6 and abs(r.dxf.center.y - cy) < 1e-6 for r in rings),
              f"{name}: no red ring at the centre {cx},{cy} among {[r.dxf.center for r in rings]}")
    else:
        check(not red, f"{name}: red entities {[(e.dxftype(), e.dxf.layer) for e in red]}")
        check(not list(msp.query('*[layer=="LP-WARN"]')), f"{name}: entities on LP-WARN")

# A refused press writes nothing and says why in one line.
run, path = drawn("refused", "frmRx_DLDanZ", "CmbH=40", "CmbHx=5")
check(run.returncode == 3, f"refused: exit {run.returncode}")
check(not os.path.exists(path), "refused: a file was written")
check(run.stderr.count("\n") == 1 and "no drawing" in run.stderr, f"refused: stderr {run.stderr!r}")
# A form without a drawing likewise.
run, path = drawn("other", "frmLJCS")
check(run.returncode == 3 and not os.path.exists(path), f"other form: exit {run.returncode}")

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)

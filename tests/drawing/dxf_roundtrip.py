#!/usr/bin/env python3
"""The driver's DXF read back by an independent reader (ezdxf): a clean audit, metres,
the LP- layers, the Chinese texts and their alignment, the arcs' centres, radii and
sweeps (each from its start to its end counter-clockwise), a weak point's note and
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


def drawn_entities(doc):
    """Every entity of the drawing, those of inserted blocks placed where they are shown."""
    for e in doc.modelspace():
        if e.dxftype() == "INSERT":
            yield from e.virtual_entities()
        else:
            yield e


def ccw(start, end):
    """The sweep of an arc from start to end counter-clockwise, in degrees."""
    return (end - start) % 360


def reach(h, hr):
    return math.sqrt(h * (2 * hr - h))


def drawn(name, form, *inputs):
    path = os.path.join(scratch, name + ".dxf")
    if os.path.exists(path):
        os.remove(path)
    run = subprocess.run([calc, "--dxf", path, form, *inputs], capture_output=True, text=True)
    return run, path


def bulges_down(name, arcs):
    """Every range arc of a section bulges down (the sphere above it): its middle lies under
    its centre and it sweeps less than a half turn."""
    check(arcs, f"{name}: no arcs")
    for x, y, r, s, e in arcs:
        mid = math.radians(s + ccw(s, e) / 2)
        check(ccw(s, e) < 180 and math.sin(mid) < 0,
              f"{name}: arc at {x},{y} from {s} to {e} bulges up")


# The boundary arcs of a rod whose tip stands h above the base the sphere rolls on at x = 0:
# left of it the arc runs counter-clockwise from where it touches the base (270°) up to the
# tip, right of it from the tip down to 270°. (centre x, centre y, start, end)
def boundary_arcs(h, base, hr):
    r0 = reach(h, hr)
    tip = math.degrees(math.atan2(-(hr - h), r0)) % 360      # the tip seen from the left centre
    return [(-r0, base + hr, 270, tip), (r0, base + hr, (180 - tip) % 360, 270)]


# (name, form, inputs, sphere radius, arcs expected, texts expected with their alignment:
# 0 left, 1 centred, 2 right)
cases = [
    ("rod", "frmRx_DLDanZ", ["CmbH=20", "CmbHx=5"], 30, boundary_arcs(20, 0, 30),
     {"独立单针保护范围计算": 1, "接闪杆（避雷针）": 0, "滚球半径 Hr=30": 2, "被保护面 Hx=5": 0,
      "Rx=11.70115": 1, "地面": 2}),
    ("roof", "frmRx_JSDanZ", ["CmbYesNo=是", "CmbH=40", "CmbHx=15"], 30, boundary_arcs(25, 15, 30),
     {"架设于建筑物上的单针保护范围计算": 1, "建筑物（与大地连通的等电位体）": 0, "Rx=29.5804": 1}),
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
    # The views as blocks inserted at their places, the layers' line weights, and the file
    # opening on the drawing: the active viewport and the stored view centred within the
    # extents, which bound every entity.
    msp = doc.modelspace()
    inserted = sorted(i.dxf.name for i in msp.query("INSERT"))
    check(inserted == ["LP-PLAN", "LP-SECTION-1"], f"{name}: views inserted {inserted}")
    for block in inserted:
        check(len(doc.blocks.get(block)) >= 3, f"{name}: block {block} holds too little")
    weights = {layer.dxf.name: layer.dxf.lineweight for layer in doc.layers}
    for layer, weight in [("LP-RANGE", 35), ("LP-AUX", 13), ("LP-ROD", 50), ("LP-WARN", 50)]:
        check(weights.get(layer) == weight, f"{name}: {layer} weighs {weights.get(layer)}")
    lo, hi = doc.header["$EXTMIN"], doc.header["$EXTMAX"]
    active = doc.viewports.get("*Active")
    check(bool(active), f"{name}: no active viewport")
    if active:
        vp = active[0] if isinstance(active, list) else active
        c = vp.dxf.center
        check(lo[0] < c[0] < hi[0] and lo[1] < c[1] < hi[1], f"{name}: opens at {c}, not on {lo}..{hi}")
        check(vp.dxf.height >= hi[1] - lo[1], f"{name}: viewport {vp.dxf.height} high")
    check("LP-DRAWING" in doc.views, f"{name}: no stored view")
    every = list(drawn_entities(doc))
    for e in every:
        if e.dxftype() in ("LINE", "CIRCLE", "ARC"):
            p = e.dxf.start if e.dxftype() == "LINE" else e.dxf.center
            check(lo[0] - 1e-6 <= p[0] <= hi[0] + 1e-6 and lo[1] - 1e-6 <= p[1] <= hi[1] + 1e-6,
                  f"{name}: {e.dxftype()} at {p} outside the extents")
    found = {decoded(t.dxf.text): t.dxf.halign for t in every if t.dxftype() == "TEXT"}
    for text, halign in texts.items():
        check(found.get(text) == halign,
              f"{name}: text {text!r} aligned {found.get(text)}, not {halign}, among {sorted(found)}")
    arcs = [(a.dxf.center.x, a.dxf.center.y, a.dxf.radius, a.dxf.start_angle, a.dxf.end_angle)
            for a in every if a.dxftype() == "ARC"]
    for cx, cy, start, end in centres:
        check(any(abs(x - cx) < 1e-6 and abs(y - cy) < 1e-6 and abs(r - hr) < 1e-9
                  and abs((s - start + 180) % 360 - 180) < 1e-6
                  and abs(ccw(s, e) - ccw(start, end)) < 1e-6 for x, y, r, s, e in arcs),
              f"{name}: no arc of radius {hr} at {cx},{cy} from {start} to {end} among {arcs}")
    # Every range arc in a section bulges down: the sphere above it, its middle under its
    # centre and its sweep less than a half turn.
    bulges_down(name, arcs)
    # The plan lies below the section: its Rx circle is centred below the ground.
    circles = [c for c in every if c.dxftype() == "CIRCLE" and c.dxf.layer == "LP-RANGE"]
    check(circles and all(c.dxf.center.y < 0 for c in circles), f"{name}: plan circles {circles}")

# The upper edges between two tips and the sagging wires' arcs, at every layout of rods and
# wires.
for name, form, *inputs in [
        ("pair", "frmRx_DLShuangZ", "CmbH=20", "CmbHx=5", "CmbD=30"),
        ("pair apart", "frmRx_DLShuangZ", "CmbHr=30", "CmbH=15", "CmbHx=8", "CmbD=40"),
        ("square", "frmRx_DLSiZ", "CmbHr=30", "CmbH=15", "CmbHx=5", "CmbL=30"),
        ("wire", "frmRxBx_DanX", "CmbHr=30", "CmbH=20", "CmbD=100", "CmbHx=5"),
        ("wires", "frmRxBx_ShuangX", "CmbHr=30", "CmbH=10", "CmbD1=100", "CmbD2=43", "CmbHx=2")]:
    run, path = drawn(name, form, *inputs)
    check(run.returncode == 0 and os.path.exists(path), f"{name}: exit {run.returncode} {run.stderr}")
    if os.path.exists(path):
        doc = ezdxf.readfile(path)
        bulges_down(name, [(a.dxf.center.x, a.dxf.center.y, a.dxf.radius, a.dxf.start_angle,
                            a.dxf.end_angle) for a in drawn_entities(doc) if a.dxftype() == "ARC"])

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
    every = list(drawn_entities(doc))
    red = [e for e in every if e.dxf.hasattr("color") and e.dxf.color == 1]
    check(all(e.dxf.layer == "LP-WARN" for e in red), f"{name}: red off LP-WARN {red}")
    notes = [decoded(e.dxf.text) for e in red if e.dxftype() == "TEXT"]
    rings = [e for e in red if e.dxftype() == "CIRCLE"]
    if weak:
        check(centre in notes, f"{name}: no red {centre!r} among {notes}")
        # The plan's first rod is its highest rod mark at x = 0; the centroid L/√3 below
        # the middle of the first side.
        rods = [c.dxf.center for c in every if c.dxftype() == "CIRCLE" and c.dxf.layer == "LP-ROD"
                and abs(c.dxf.center.x) < 1e-9 and c.dxf.center.y < 0]
        o = max(rods, key=lambda p: p.y)
        cx, cy = o.x + 20, o.y - 40 / (2 * math.sqrt(3))
        check(any(abs(r.dxf.center.x - cx) < 1e-6 and abs(r.dxf.center.y - cy) < 1e-6 for r in rings),
              f"{name}: no red ring at the centre {cx},{cy} among {[r.dxf.center for r in rings]}")
    else:
        check(not red, f"{name}: red entities {[(e.dxftype(), e.dxf.layer) for e in red]}")
        check(not [e for e in every if e.dxf.layer == "LP-WARN"], f"{name}: entities on LP-WARN")

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

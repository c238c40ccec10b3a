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
    """Every entity of the drawing, those of inserted blocks placed where they are shown,
    and each dimension with what its block shows."""
    for e in doc.modelspace():
        for v in (e.virtual_entities() if e.dxftype() == "INSERT" else [e]):
            yield v
            if v.dxftype() == "DIMENSION":
                yield from v.virtual_entities()


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
    circles = [c for c in every if c.dxftype() == "CIRCLE" and c.dxf.layer == "LP-CONSTR"]
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


# The dimensioned lengths as DIMENSION entities of the style TERVALEN: each measuring
# exactly its length (the spacing D = 30 of two rods, its label "D=30"), with arrows and
# its value at the size digits are drafted at; the plan's protected region a HATCH.
run, path = drawn("dimensions", "frmRx_DLShuangZ", "CmbH=20", "CmbHx=5", "CmbD=30")
check(run.returncode == 0, f"dimensions: exit {run.returncode} {run.stderr}")
if os.path.exists(path):
    doc = ezdxf.readfile(path)
    audit = doc.audit()
    check(len(audit.errors) == 0 and len(audit.fixes) == 0,
          f"dimensions: audit {[str(e) for e in audit.errors]} {[str(f) for f in audit.fixes]}")
    style = doc.dimstyles.get("TERVALEN") if "TERVALEN" in doc.dimstyles else None
    check(style is not None, "dimensions: no dimension style TERVALEN")
    dims = [e for e in drawn_entities(doc) if e.dxftype() == "DIMENSION"]
    check(len(dims) >= 5, f"dimensions: {len(dims)} DIMENSION entities")
    for e in dims:
        check(e.dxf.dimstyle == "TERVALEN", f"dimensions: style {e.dxf.dimstyle}")
        check(e.dxf.layer == "LP-DIM", f"dimensions: layer {e.dxf.layer}")
        a, b = e.dxf.defpoint2, e.dxf.defpoint3
        check(abs(e.get_measurement() - math.dist(a, b)) < 1e-9,
              f"dimensions: {e.dxf.text} measures {e.get_measurement()}, not {math.dist(a, b)}")
    measured = {decoded(e.dxf.text): e.get_measurement() for e in dims}
    for text, length in [("D=30", 30.0), ("Rx=11.70115", 11.70115)]:
        check(text in measured and abs(measured[text] - length) < 1e-5,
              f"dimensions: {text} measures {measured.get(text)} among {sorted(measured)}")
    check(abs(measured.get("D=30", 0) - 30.0) == 0, "dimensions: D not exactly 30")
    if style is not None:
        loose = [t for t in doc.blocks.get("LP-PLAN") if t.dxftype() == "TEXT" and t.dxf.text == "D=30"]
        check(not loose, "dimensions: D=30 also as a TEXT of its own")
        check(style.dxf.dimtsz == 0 and style.dxf.dimasz > 0, "dimensions: no arrows")
        plan = doc.blocks.get("LP-PLAN")
        hatches = [h for h in plan if h.dxftype() == "HATCH" and h.dxf.layer == "LP-RANGE"]
        check(len(hatches) == 1 and hatches[0].paths, f"dimensions: plan hatches {hatches}")
        outlines = [p for p in plan if p.dxftype() == "LWPOLYLINE" and p.dxf.layer == "LP-RANGE"
                    and p.closed]
        check(outlines, "dimensions: no closed outline of the plan's region")
        digits = [t.dxf.height for t in drawn_entities(doc)
                  if t.dxftype() == "TEXT" and decoded(t.dxf.text) == "H=20"]
        check(digits and abs(style.dxf.dimtxt - digits[0]) < 1e-9,
              f"dimensions: dimtxt {style.dxf.dimtxt}, digits {digits}")

# R12 for older CAD: its version, a clean audit, polylines as POLYLINE, no LWPOLYLINE or
# HATCH, the same texts and arcs; R2000 stays the default.
run = subprocess.run([calc, "--dxf", os.path.join(scratch, "r12.dxf"), "--dxf-version", "R12",
                      "frmRx_DLShuangZ", "CmbH=20", "CmbHx=5", "CmbD=30"], capture_output=True, text=True)
check(run.returncode == 0, f"r12: exit {run.returncode} {run.stderr}")
if run.returncode == 0:
    doc = ezdxf.readfile(os.path.join(scratch, "r12.dxf"))
    audit = doc.audit()
    check(doc.dxfversion == "AC1009", f"r12: version {doc.dxfversion}")
    check(len(audit.errors) == 0, f"r12: audit {[str(e) for e in audit.errors]}")
    types = {e.dxftype() for e in drawn_entities(doc)}
    check("POLYLINE" in types and "LWPOLYLINE" not in types and "HATCH" not in types,
          f"r12: entity types {types}")
    texts = {decoded(t.dxf.text) for t in drawn_entities(doc) if t.dxftype() == "TEXT"}
    check({"D=30", "Rx=11.70115", "独立双针保护范围计算"} <= texts or "D=30" in texts, f"r12: texts {texts}")
    arcs = [e for e in drawn_entities(doc) if e.dxftype() == "ARC"]
    bulges_down("r12", [(a.dxf.center.x, a.dxf.center.y, a.dxf.radius, a.dxf.start_angle,
                         a.dxf.end_angle) for a in arcs])
for bad in (["--dxf-version", "R14"], ["--frame"]):
    run = subprocess.run([calc, *bad, "frmRx_DLDanZ", "CmbH=20", "CmbHx=5"], capture_output=True, text=True)
    check(run.returncode == 2, f"{bad}: exit {run.returncode}")

# The A3 frame with its title block, from the header's fields: the sheet 420 × 297 mm at the
# drawing's scale around everything, the fields' values beside their names.
out = os.path.join(scratch, "frame.dxf")
run = subprocess.run([calc, "--dxf", out, "--frame", "--header", "project=滨江厂房",
                      "--header", "calculator=张工", "--header", "checker=李工", "--header",
                      "reviewer=王工", "--header", "date=2024-05-17",
                      "frmRx_DLDanZ", "CmbH=20", "CmbHx=5"], capture_output=True, text=True)
check(run.returncode == 0, f"frame: exit {run.returncode} {run.stderr}")
if run.returncode == 0:
    doc = ezdxf.readfile(out)
    check(len(doc.audit().errors) == 0, "frame: audit errors")
    every = list(drawn_entities(doc))
    framed = [e for e in every if e.dxf.layer == "LP-FRAME"]
    texts = {decoded(t.dxf.text) for t in framed if t.dxftype() == "TEXT"}
    for t in ["工程名称", "滨江厂房", "图名", "独立单针保护范围计算", "比例", "设计", "张工", "校对",
              "李工", "审核", "王工", "日期", "2024-05-17"]:
        check(t in texts, f"frame: no {t!r} among {sorted(texts)}")
    scales = [t for t in texts if t.startswith("1:")]
    check(len(scales) == 1, f"frame: scales {scales}")
    if scales:
        k = int(scales[0][2:]) / 1000
        boxes = [p for p in framed if p.dxftype() == "LWPOLYLINE" and p.closed]
        sizes = sorted((round(max(x for x, *_ in b.get_points()) - min(x for x, *_ in b.get_points()), 6),
                        round(max(y for _, y, *_ in b.get_points()) - min(y for _, y, *_ in b.get_points()), 6))
                       for b in boxes)
        check((round(420 * k, 6), round(297 * k, 6)) in sizes, f"frame: boxes {sizes} at {k}")
        sheet = [b for b in boxes if abs(max(x for x, *_ in b.get_points()) - min(x for x, *_ in b.get_points()) - 420 * k) < 1e-6]
        if sheet:
            xs = [x for x, *_ in sheet[0].get_points()]
            ys = [y for _, y, *_ in sheet[0].get_points()]
            for e in every:
                if e.dxftype() in ("LINE", "CIRCLE", "ARC") and e.dxf.layer != "LP-FRAME":
                    p = e.dxf.start if e.dxftype() == "LINE" else e.dxf.center
                    check(min(xs) < p[0] < max(xs) and min(ys) < p[1] < max(ys),
                          f"frame: {e.dxftype()} at {p} outside the sheet")

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)

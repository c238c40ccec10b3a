#!/usr/bin/env python3
"""A site's check through the driver. "record": --add-to FILE --site SITE.tvs adds it as a
record (a site refused adds nothing, exit 3 with one line, the project byte for byte as it
was); --project FILE --json prints it with its keys beside a form's record; --project
--pdf puts it on the sheet with its objects, the radius's basis and each roof. "dxf":
--site FILE --dxf OUT read back by ezdxf: a clean audit, the designer's outline on its own
layer, the terminals and the protected level on theirs, the open roof hatched in red.
Usage: driver_site_record.py TERVALEN_CALC SCRATCH_DIR record|dxf"""
import json
import os
import shutil
import subprocess
import sys

calc, scratch, part = sys.argv[1], sys.argv[2], sys.argv[3]
os.makedirs(scratch, exist_ok=True)
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def run(*args):
    return subprocess.run([calc, *args], capture_output=True, text=True)


def write(name, doc):
    path = os.path.join(scratch, name)
    with open(path, "w", encoding="utf-8") as f:
        json.dump(doc, f, ensure_ascii=False)
    return path


def edge(a, b, z):
    return {"from": [a[0], a[1], z], "to": [b[0], b[1], z]}


# A pump house with a 接闪带 0.5 m above its roof edges (covered), a bare store (open),
# a rod and a wire far from both.
corners = [[0, 0], [10, 0], [10, 10], [0, 10]]
site = {
    "format": "tervalen-site", "version": 1, "hr": 45,
    "rods": [{"x": 150, "y": 20, "base": 0, "tip": 8}],
    "conductors": [edge(corners[i], corners[(i + 1) % 4], 10.5) for i in range(4)],
    "wires": [{"from": [160, 0, 12], "to": [160, 40, 12], "sag": 1.5}],
    "buildings": [
        {"name": "泵房", "outline": corners, "base": 0, "roof": 10, "layer": "建筑-外墙"},
        {"name": "库房", "outline": [[30, 0], [40, 0], [40, 8], [30, 8]], "base": 0, "roof": 6},
    ],
}
good = write("厂区.tvs", site)


def record_part():
    project = os.path.join(scratch, "厂区.tvp")
    for path in (project,):
        if os.path.exists(path):
            os.remove(path)
    # A refused site on a project that does not exist yet leaves no file.
    upside = dict(site, rods=[{"x": 1, "y": 1, "base": 10, "tip": 9}])
    refused = write("倒置.tvs", upside)
    r = run("--add-to", project, "--site", refused)
    check(r.returncode == 3, f"refused site: exit {r.returncode}")
    check(len(r.stderr.strip().splitlines()) == 1 and "顶高低于底高" in r.stderr,
          f"refused site: {r.stderr!r}")
    check(not os.path.exists(project), "refused site left a project file")

    r = run("--add-to", project, "frmRx_DLDanZ", "CmbH=20", "CmbHx=5")
    check(r.returncode == 0, f"form record: {r.returncode} {r.stderr}")
    r = run("--add-to", project, "--label", "厂区屋面校核", "--json", "--site", good)
    check(r.returncode == 0, f"site record: {r.returncode} {r.stderr}")
    added = json.loads(r.stdout) if r.returncode == 0 else {}
    check(added.get("label") == "厂区屋面校核" and added.get("ok") is False, f"added: {added}")

    # Refused now: nothing added, the project as it was, byte for byte; so too for a site
    # without a building and for a file that is no site.
    with open(project, "rb") as f:
        before = f.read()
    empty = write("空.tvs", dict(site, buildings=[]))
    for bad, says in ((refused, "顶高低于底高"), (empty, "没有可校核的屋面"),
                      (os.path.join(scratch, "没有.tvs"), "无法读取场地文件")):
        r = run("--add-to", project, "--site", bad)
        check(r.returncode == 3 and says in r.stderr and len(r.stderr.splitlines()) == 1,
              f"{bad}: exit {r.returncode} {r.stderr!r}")
        with open(project, "rb") as f:
            check(f.read() == before, f"{bad}: the project changed")
    r = run("--add-to", project, "--site", good, "--dxf", os.path.join(scratch, "x.dxf"))
    check(r.returncode == 2, f"--add-to --site --dxf: exit {r.returncode}")

    r = run("--project", project, "--json")
    check(r.returncode == 0, f"--project --json: {r.returncode} {r.stderr}")
    records = json.loads(r.stdout) if r.returncode == 0 else [{}, {}]
    check("form" in records[0] and "site" not in records[0], f"form record: {records[0].keys()}")
    s = records[1]
    for key in ("label", "site", "hr", "roofs", "ok"):
        check(key in s, f"site record lacks {key}: {list(s)}")
    check(s.get("site") is True and s.get("hr") == 45 and s.get("ok") is False, f"site record: {s}")
    roofs = s.get("roofs", [])
    check([roof.get("name") for roof in roofs] == ["泵房", "库房"], f"roofs: {roofs}")
    for roof in roofs:
        check(set(roof) == {"name", "height", "uncovered_area", "worst", "ok"}, f"roof keys: {roof}")
    if len(roofs) == 2:
        check(roofs[0]["ok"] is True and roofs[0]["uncovered_area"] == 0, f"泵房: {roofs[0]}")
        check(roofs[1]["ok"] is False and abs(roofs[1]["uncovered_area"] - 80) < 0.05,
              f"库房: {roofs[1]}")
        check(set(roofs[1]["worst"]) == {"x", "y", "s"}, f"worst: {roofs[1]['worst']}")

    r = run("--project", project)
    check(r.returncode == 0 and "厂区屋面校核" in r.stdout and "不满足保护要求" in r.stdout,
          f"--project text: {r.stdout}")

    pdf = os.path.join(scratch, "厂区.pdf")
    r = run("--project", project, "--pdf", pdf)
    if r.returncode == 0 and shutil.which("pdftotext"):
        text = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True).stdout
        # Table cells wrap: compared without the spaces and line breaks.
        text = "".join(text.split())
        for part in ("屋面/总平面防雷校核", "各屋面全部受保护", "滚球法，精确几何计算", "接闪导体 4",
                     "接闪线 1", "建筑物 泵房", "第二类防雷建筑物的滚球半径", "表5.2.12",
                     "未保护面积（m²）", "最不利点（m）", "库房", "不满足"):
            check("".join(part.split()) in text, f"PDF lacks {part}")
    elif "PDF" not in r.stderr:
        check(False, f"--project --pdf: {r.returncode} {r.stderr}")


def dxf_part():
    try:
        import ezdxf
    except ImportError:
        print("SKIPPED: python3-ezdxf is not installed (scripts/deps.sh installs it)")
        sys.exit(77)
    path = os.path.join(scratch, "厂区.dxf")
    r = run("--site", good, "--level", "10", "--dxf", path)
    check(r.returncode == 0 and os.path.exists(path), f"--dxf: {r.returncode} {r.stderr}")
    if not os.path.exists(path):
        return
    doc = ezdxf.readfile(path)
    audit = doc.audit()
    check(not audit.errors and not audit.fixes, f"audit: {[e.message for e in audit.errors]}")
    layers = {layer.dxf.name for layer in doc.layers}
    for name in ("建筑-外墙", "LP-BUILDING", "LP-ROD", "LP-CONDUCTOR", "LP-WIRE",
                 "LP-PROTECT-10.000", "LP-UNCOVERED"):
        check(name in layers, f"no layer {name}: {sorted(layers)}")
    drawn = []
    for e in doc.modelspace():
        drawn.extend(e.virtual_entities() if e.dxftype() == "INSERT" else [e])
    by_layer = {}
    for e in drawn:
        by_layer.setdefault(e.dxf.layer, []).append(e)
    outline = [e for e in by_layer.get("建筑-外墙", []) if e.dxftype() == "LWPOLYLINE"]
    check(len(outline) == 1 and outline[0].closed and
          sorted((round(x, 6), round(y, 6)) for x, y in outline[0].get_points("xy")) ==
          sorted((x, y) for x, y in corners), f"the pump house's outline: {outline}")
    store = [e for e in by_layer.get("LP-BUILDING", []) if e.dxftype() == "LWPOLYLINE"]
    check(len(store) == 1, f"the store's outline on LP-BUILDING: {store}")
    check(len([e for e in by_layer.get("LP-CONDUCTOR", []) if e.dxftype() == "LINE"]) == 4,
          "four conductors")
    check(any(e.dxftype() == "LINE" for e in by_layer.get("LP-WIRE", [])), "the wire")
    check(any(e.dxftype() == "CIRCLE" for e in by_layer.get("LP-ROD", [])), "the rod")
    check(any(e.dxftype() == "LWPOLYLINE" for e in by_layer.get("LP-PROTECT-10.000", [])),
          "the protected region at 10 m")
    hatches = [e for e in drawn if e.dxftype() == "HATCH"]
    check(len(hatches) == 1 and hatches[0].dxf.layer == "LP-UNCOVERED" and
          hatches[0].dxf.color == 1, f"the store's roof hatched red: {hatches}")
    if hatches:
        xs = [v[0] for p in hatches[0].paths for v in p.vertices]
        check(min(xs) > 29.9 and max(xs) < 40.1, f"the hatch lies on the store: {min(xs)}..{max(xs)}")


(record_part if part == "record" else dxf_part)()
for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)

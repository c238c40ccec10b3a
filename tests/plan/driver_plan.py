#!/usr/bin/env python3
"""tervalen-calc --import-dxf over plans written by an independent writer (ezdxf): the
outlines an architect draws (closed polylines, walls as lines with 0.5 mm gaps, an arc in
a chain, an old-style POLYLINE), areas in m² after the file's unit, GBK and \\U+ names,
the layer filter, the site written from them; exit 2 for a malformed command line, 3
when there is no outline, 4 for a file that cannot be read (one line each); a comma-decimal
locale gives the same numbers.

    driver_plan.py TERVALEN-CALC WORK-DIR
"""
import json
import math
import os
import pathlib
import shutil
import subprocess
import sys

try:
    import ezdxf
except ImportError:
    print("SKIPPED: python3-ezdxf is not installed (scripts/deps.sh installs it)")
    sys.exit(77)

CALC = sys.argv[1]
WORK = pathlib.Path(sys.argv[2])
shutil.rmtree(WORK, ignore_errors=True)
WORK.mkdir(parents=True)
failures = []


def check(name, ok, detail=""):
    if not ok:
        failures.append(f"FAIL {name}: {detail}")


def run(*args, env=None):
    return subprocess.run([CALC, *map(str, args)], capture_output=True, text=True, env=env)


def one_line_failure(name, r, status, says):
    check(f"{name}: exit {status}", r.returncode == status, f"{r.returncode} {r.stderr!r}")
    check(f"{name}: one line", r.stderr.count("\n") == 1 and r.stdout == "", repr(r.stderr))
    check(f"{name}: says why", says in r.stderr, repr(r.stderr))


# A site plan in millimetres, GBK: two buildings as closed LWPOLYLINE on 建筑 (one drawn
# clockwise, one at an elevation with a thickness); on 墙 a hall drawn as four lines whose
# ends are 0.5 mm apart, a room of a line and a half-circle arc, and an open polyline; on
# 旧 an old-style closed POLYLINE.
doc = ezdxf.new("R2000")
doc.encoding = "gbk"
doc.header["$INSUNITS"] = 4
for name in ("建筑", "墙", "旧"):
    doc.layers.add(name)
msp = doc.modelspace()
msp.add_lwpolyline([(0, 0), (0, 20000), (30000, 20000), (30000, 0)], close=True,
                   dxfattribs={"layer": "建筑"})
msp.add_lwpolyline([(40000, 0), (52000, 0), (52000, 8000), (40000, 8000)], close=True,
                   dxfattribs={"layer": "建筑", "elevation": 18000, "thickness": 3000})
for a, b in [((0, 30000), (40000, 30000)), ((40000, 30000.5), (40000, 45000)),
             ((39999.6, 45000.3), (0, 45000)), ((0, 44999.5), (0, 30000.5))]:
    msp.add_line(a, b, dxfattribs={"layer": "墙"})
msp.add_line((60000, 0), (60000, 10000), dxfattribs={"layer": "墙"})
msp.add_arc((60000, 5000), 5000, 90, 270, dxfattribs={"layer": "墙"})
msp.add_lwpolyline([(70000, 0), (80000, 0), (80000, 5000)], dxfattribs={"layer": "墙"})
msp.add_polyline2d([(0, 60000), (6000, 60000), (6000, 64000), (0, 64000)], close=True,
                   dxfattribs={"layer": "旧"})
site_plan = WORK / "site-plan.dxf"
doc.saveas(site_plan)
raw = site_plan.read_bytes()
check("the fixture is GBK", "建筑".encode("gbk") in raw and b"ANSI_936" in raw)

r = run("--import-dxf", site_plan, "--json")
check("plan read", r.returncode == 0, r.stderr)
plan = json.loads(r.stdout) if r.returncode == 0 else {"outlines": [], "layers": []}
check("units", plan.get("units") == "mm" and plan.get("metres_per_unit") == 0.001, plan.get("units"))
check("layers in UTF-8", {"建筑", "墙", "旧"} <= set(plan["layers"]), plan["layers"])
found = [(o["layer"], o["from"], round(o["area"], 3)) for o in plan["outlines"]]
half_disc = math.pi * 25 / 2
expected = [("建筑", "polyline", 600.0), ("建筑", "polyline", 96.0), ("墙", "chain", 600.0),
            ("墙", "chain", round(half_disc, 3)), ("旧", "polyline", 24.0)]
check("outlines", [f[:2] for f in found] == [e[:2] for e in expected], found)
for f, e in zip(found, expected):
    # The chains: within the joints' 0.5 mm and the arc's 1 mm chords.
    check(f"area of {e}", abs(f[2] - e[2]) <= 0.05, f)
check("counter-clockwise", all(
    sum((v[i - 1][0] - v[i][0]) * (v[i - 1][1] + v[i][1]) for i in range(len(v))) > 0
    for v in (o["vertices"] for o in plan["outlines"])))
check("elevation and thickness in metres",
      plan["outlines"][1].get("elevation") == 18 and plan["outlines"][1].get("thickness") == 3
      if len(plan["outlines"]) > 1 else False)
check("the open polyline counted", plan.get("skipped", {}).get("open") == 1, plan.get("skipped"))

text = run("--import-dxf", site_plan)
check("text", text.returncode == 0 and "共 5 个闭合轮廓" in text.stdout
      and "图层 “建筑”，闭合多段线，4 个顶点，面积 600 m²" in text.stdout, text.stdout)

# The layer filter, and a layer that has no outline.
chosen = json.loads(run("--import-dxf", site_plan, "--layer", "建筑", "--layer", "旧", "--json").stdout)
check("--layer", [o["layer"] for o in chosen["outlines"]] == ["建筑", "建筑", "旧"], chosen["outlines"])
one_line_failure("no outline on the layer", run("--import-dxf", site_plan, "--layer", "无"), 3,
                 "没有闭合的轮廓")

# The site: a building per outline named after its layer, the roof given or the
# polyline's top, read back by --site.
site = WORK / "site.tvs"
r = run("--import-dxf", site_plan, "--layer", "建筑", "--roof", "20", "--site-out", site, "--json")
check("site written", r.returncode == 0 and site.exists(), r.stderr)
if site.exists():
    s = json.loads(site.read_text(encoding="utf-8"))
    check("site", s["hr"] == 45 and [(b["name"], b["roof"], b["layer"]) for b in s["buildings"]]
          == [("建筑 1", 20, "建筑"), ("建筑 2", 21, "建筑")], s)
    roofs = json.loads(run("--site", site, "--json").stdout)["roofs"]
    check("the site reads back", [x["name"] for x in roofs] == ["建筑 1", "建筑 2"], roofs)
r = run("--import-dxf", site_plan, "--roof", "20", "--hr", "30", "--site-out", WORK / "s30.tvs")
check("--hr", r.returncode == 0 and json.loads((WORK / "s30.tvs").read_text())["hr"] == 30, r.stderr)
one_line_failure("site not writable", run("--import-dxf", site_plan, "--roof", "20", "--site-out",
                                          WORK / "no" / "such" / "s.tvs"), 3, "s.tvs")

# Chinese names in a Western code page, written as \U+ escapes.
doc = ezdxf.new("R2000")
doc.header["$INSUNITS"] = 6
doc.layers.add("厂房")
doc.modelspace().add_lwpolyline([(0, 0), (10, 0), (10, 10)], close=True, dxfattribs={"layer": "厂房"})
escaped = WORK / "escaped.dxf"
doc.saveas(escaped)
check("the fixture escapes", b"\\U+5382" in escaped.read_bytes())
e = json.loads(run("--import-dxf", escaped, "--json").stdout)
check("\\U+ names", [o["layer"] for o in e["outlines"]] == ["厂房"] and e["outlines"][0]["area"] == 50, e)

# No unit in the file: metres, or the unit given.
doc = ezdxf.new("R12")
doc.header["$INSUNITS"] = 0
doc.modelspace().add_polyline2d([(0, 0), (2000, 0), (2000, 1000)], close=True)
unitless = WORK / "unitless.dxf"
doc.saveas(unitless)
for args, units, area in [((), None, 1e6), (("--units", "mm"), None, 1.0),
                          (("--units", "0.01"), None, 100.0)]:
    u = json.loads(run("--import-dxf", unitless, "--json", *args).stdout)
    check(f"no unit {args}", u["units"] == units and abs(u["outlines"][0]["area"] - area) < 1e-9 * area
          and u["outlines"][0]["from"] == "polyline", u)

# Files that cannot be read: binary DXF, a truncated file, none at all.
binary = WORK / "binary.dxf"
ezdxf.readfile(site_plan).saveas(binary, fmt="bin")
check("the fixture is binary", binary.read_bytes().startswith(b"AutoCAD Binary DXF"))
one_line_failure("binary", run("--import-dxf", binary), 4, "二进制")
truncated = WORK / "truncated.dxf"
truncated.write_bytes(raw[: len(raw) * 2 // 3])
one_line_failure("truncated", run("--import-dxf", truncated, "--json"), 4, "不完整")
one_line_failure("missing", run("--import-dxf", WORK / "missing.dxf"), 4, "missing.dxf")
walls_only = WORK / "open.dxf"
doc = ezdxf.new("R2000")
doc.modelspace().add_line((0, 0), (10, 0))
doc.saveas(walls_only)
one_line_failure("only open lines", run("--import-dxf", walls_only), 3, "1 组未闭合")

# Malformed command lines.
for args, says in [
    (("--import-dxf", site_plan, "--roof", "20"), "--roof and --site-out"),
    (("--import-dxf", site_plan, "--site-out", site), "--roof and --site-out"),
    (("--import-dxf", site_plan, "--roof", "2,5", "--site-out", site), "--roof needs"),
    (("--import-dxf", site_plan, "--roof", "20", "--hr", "0", "--site-out", site), "--hr needs"),
    (("--import-dxf", site_plan, "--hr", "30"), "--hr goes with"),
    (("--import-dxf", site_plan, "--units", "furlong"), "--units needs"),
    (("--import-dxf", site_plan, "--pdf", "x.pdf"), "--import-dxf goes with"),
    (("--import-dxf",), "without a value"),
    (("--import-dxf", site_plan, "--roof", "20", "--site-out", site_plan), "write over the plan"),
]:
    one_line_failure(f"malformed {args[2:]}", run(*args), 2, says)
check("the plan untouched", site_plan.read_bytes() == raw)

# A comma-decimal locale: the same text and JSON.
locales = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.lower()
if "de_de.utf8" in locales or "de_de.utf-8" in locales:
    env = dict(os.environ, LC_ALL="de_DE.UTF-8")
    for args in [("--import-dxf", site_plan), ("--import-dxf", site_plan, "--json")]:
        check(f"de_DE {args[2:]}", run(*args, env=env).stdout == run(*args).stdout)

print("\n".join(failures) if failures else "all passed")
sys.exit(1 if failures else 0)

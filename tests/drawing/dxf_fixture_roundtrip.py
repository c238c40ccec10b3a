#!/usr/bin/env python3
"""Small drawings of known figures written as DXF (dxf_fixture) and read back by ezdxf: a
filled area is a HATCH, solid, odd parity, its rings polyline paths with their vertices,
the outer ones external, on its layer, red when it marks a weak point.
Usage: dxf_fixture_roundtrip.py DXF_FIXTURE SCRATCH_DIR"""
import os
import subprocess
import sys

try:
    import ezdxf
except ImportError:
    print("SKIPPED: python3-ezdxf is not installed (scripts/deps.sh installs it)")
    sys.exit(77)

fixture, scratch = sys.argv[1], sys.argv[2]
os.makedirs(scratch, exist_ok=True)
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def drawn_entities(doc):
    for e in doc.modelspace():
        if e.dxftype() == "INSERT":
            yield from e.virtual_entities()
        else:
            yield e


subprocess.run([fixture, scratch], check=True)
doc = ezdxf.readfile(os.path.join(scratch, "hatch.dxf"))
audit = doc.audit()
check(len(audit.errors) == 0 and len(audit.fixes) == 0,
      f"hatch: audit {[str(e) for e in audit.errors]} {[str(f) for f in audit.fixes]}")
hatches = [e for e in drawn_entities(doc) if e.dxftype() == "HATCH"]
check(len(hatches) == 2, f"hatch: {len(hatches)} hatches")


def rings(h):
    out = []
    for p in h.paths:
        check(p.type == ezdxf.entities.BoundaryPathType.POLYLINE, f"hatch: path {p.type}")
        check(p.is_closed, "hatch: an open path")
        out.append(([(round(v[0], 9), round(v[1], 9)) for v in p.vertices], p.path_type_flags))
    return out


area = next((h for h in hatches if h.dxf.layer == "LP-RANGE"), None)
check(area is not None, "hatch: none on LP-RANGE")
if area is not None:
    check(area.dxf.solid_fill == 1 and area.dxf.pattern_name == "SOLID", "hatch: not solid")
    check(area.dxf.hatch_style == 0, f"hatch: style {area.dxf.hatch_style}, not odd parity")
    check(not area.dxf.hasattr("color") or area.dxf.color == 256, "hatch: a colour of its own")
    got = rings(area)
    want = [([(0, 0), (10, 0), (10, 10), (0, 10)], True),
            ([(3, 3), (7, 3), (7, 7), (3, 7)], False),
            ([(20, 0), (30, 0), (25, 5)], True)]
    check([v for v, _ in got] == [v for v, _ in want], f"hatch: rings {got}")
    for (vertices, flags), (_, outer) in zip(got, want):
        check(bool(flags & 1) == outer, f"hatch: ring {vertices} flags {flags}")
red = next((h for h in hatches if h.dxf.layer == "LP-WARN"), None)
check(red is not None and red.dxf.color == 1, "hatch: the weak point's area not red on LP-WARN")

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)

#!/usr/bin/env python3
"""Writes the plan the site window's desktop test imports: two buildings on the layer
"建筑" in metres, the main one a closed LWPOLYLINE 36 × 18 m, the annex 16 × 12 m drawn
wall by wall as four LINEs, and an axis line on "轴线" that outlines nothing.
Usage: two_buildings_dxf.py OUT.dxf"""
import sys

import ezdxf

doc = ezdxf.new("R2010")
doc.header["$INSUNITS"] = 6  # metres
doc.layers.add("建筑")
doc.layers.add("轴线")
msp = doc.modelspace()
msp.add_lwpolyline([(0, 0), (36, 0), (36, 18), (0, 18)], close=True, dxfattribs={"layer": "建筑"})
annex = [(48, 2), (64, 2), (64, 14), (48, 14)]
for a, b in zip(annex, annex[1:] + annex[:1]):
    msp.add_line(a, b, dxfattribs={"layer": "建筑"})
msp.add_line((-5, 9), (70, 9), dxfattribs={"layer": "轴线"})
doc.saveas(sys.argv[1])

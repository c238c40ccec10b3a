#!/usr/bin/env python3
"""Writes the DXF plan fuzzer's seed corpus (fuzz/plan_corpus/): small plans of the kinds
the reader's tests use. Run from anywhere; it rewrites the folder."""
import pathlib

CORPUS = pathlib.Path(__file__).resolve().parent / "plan_corpus"
# The longest input the fuzzer makes (-max_len in fuzz/run_plan_bounded.sh).
MAX_LEN = 8192


def groups(*pairs):
    return b"".join(b"%d\n%s\n" % (code, value if isinstance(value, bytes) else str(value).encode())
                    for code, value in pairs)


def plan(entities, version="AC1015", codepage="ANSI_1252", insunits=6, blocks=b"", layers=()):
    head = [(0, "SECTION"), (2, "HEADER")]
    if version:
        head += [(9, "$ACADVER"), (1, version)]
    if codepage:
        head += [(9, "$DWGCODEPAGE"), (3, codepage)]
    if insunits is not None:
        head += [(9, "$INSUNITS"), (70, insunits)]
    head += [(0, "ENDSEC")]
    out = groups(*head)
    if layers:
        out += groups((0, "SECTION"), (2, "TABLES"), (0, "TABLE"), (2, "LAYER"))
        for name in layers:
            out += groups((0, "LAYER"), (2, name), (70, 0), (62, 7), (6, "CONTINUOUS"))
        out += groups((0, "ENDTAB"), (0, "ENDSEC"))
    if blocks:
        out += groups((0, "SECTION"), (2, "BLOCKS")) + blocks + groups((0, "ENDSEC"))
    return out + groups((0, "SECTION"), (2, "ENTITIES")) + entities + groups((0, "ENDSEC"), (0, "EOF"))


def lw(layer, points, closed=True, bulges=(), extra=()):
    out = [(0, "LWPOLYLINE"), (8, layer), *extra, (90, len(points)), (70, 1 if closed else 0)]
    for i, (x, y) in enumerate(points):
        out += [(10, x), (20, y)]
        if i < len(bulges) and bulges[i]:
            out += [(42, bulges[i])]
    return groups(*out)


def line(layer, a, b):
    return groups((0, "LINE"), (8, layer), (10, a[0]), (20, a[1]), (30, 0), (11, b[0]), (21, b[1]),
                  (31, 0))


def arc(layer, c, r, a1, a2, extra=()):
    return groups((0, "ARC"), (8, layer), *extra, (10, c[0]), (20, c[1]), (30, 0), (40, r), (50, a1),
                  (51, a2))


def polyline(layer, points, closed=True, elevation=12, thickness=3):
    out = groups((0, "POLYLINE"), (8, layer), (66, 1), (10, 0), (20, 0), (30, elevation),
                 (39, thickness), (70, 1 if closed else 0))
    for x, y in points:
        out += groups((0, "VERTEX"), (8, layer), (10, x), (20, y), (30, 0), (70, 0))
    return out + groups((0, "SEQEND"))


RECT = [(0, 0), (10000, 0), (10000, 5000), (0, 5000)]
GBK = "建筑".encode("gbk")

SEEDS = {
    "gbk-two-buildings.dxf": plan(lw(GBK, RECT) + lw(GBK, [(20000, 0), (30000, 0), (30000, 8000),
                                                          (20000, 8000)]),
                                  codepage="ANSI_936", insunits=4, layers=[b"0", GBK]),
    "walls-gaps.dxf": plan(line("墙", (0, 0), (10000, 0)) + line("墙", (10000, 5000), (10000, 0.5))
                           + line("墙", (9999.7, 5000.4), (0, 5000)) + line("墙", (0, 0.5), (0, 4999.5)),
                           insunits=4),
    "arc-chain.dxf": plan(line("A", (0, 5), (0, -5)) + arc("A", (0, 0), 5, 270, 90)
                          + lw("T", [(15, 0), (25, 0)], bulges=(1, 1))),
    "r12-polyline.dxf": plan(polyline("closed", [(0, 0), (8, 0), (8, 6), (0, 6)])
                             + polyline("open", [(0, 0), (8, 0), (8, 6), (0, 6)], closed=False),
                             version="AC1009", codepage="", insunits=None),
    "block-insert.dxf": plan(groups((0, "INSERT"), (8, "建筑"), (2, "room"), (10, 100), (20, 50),
                                    (30, 0), (41, 2), (42, 2), (43, 2), (50, 90), (70, 2), (71, 2),
                                    (44, 10), (45, 10))
                             + lw("P", RECT, extra=[(67, 1)]),
                             blocks=groups((0, "BLOCK"), (8, "0"), (2, "ROOM"), (70, 0), (10, 1),
                                           (20, 1), (30, 0), (3, "ROOM"))
                             + lw("0", [(1, 1), (3, 1), (3, 2), (1, 2)])
                             + groups((0, "INSERT"), (8, "0"), (2, "ROOM"), (10, 0), (20, 0))
                             + groups((0, "ENDBLK"), (8, "0"))),
    "mirrored-arc.dxf": plan(arc("A", (-5, 0), 5, 270, 90, extra=[(210, 0), (220, 0), (230, -1)])
                             + line("A", (5, 5), (5, -5))),
    "escapes.dxf": plan(lw("\\U+5382\\U+623F", RECT) + lw("\\M+5BDA8\\M+5D6FE", RECT[::-1]),
                        insunits=5),
    "not-outlines.dxf": plan(lw("A", [(0, 0), (4, 4), (4, 0), (0, 6)])
                             + lw("A", [(0, 10), (5, 10), (10, 10)])
                             + lw("A", [(50, 0), (60, 0), (60, 5), (50, 5), (50, 2), (50, 8)])
                             + b"0\nLWPOLYLINE\n8\nA\n90\n3\n42\n1\n10\n0\n20\n0\n10\n1\n20\n0\n10\n1\n20\n1\n"),
    "binary.dxf": b"AutoCAD Binary DXF\r\n\x1a\x00\x00\x02\x00",
}


def main():
    CORPUS.mkdir(exist_ok=True)
    for old in CORPUS.iterdir():
        old.unlink()
    for name, data in SEEDS.items():
        assert len(data) <= MAX_LEN, name
        (CORPUS / name).write_bytes(data)
    print(f"{len(SEEDS)} seeds in {CORPUS}")


if __name__ == "__main__":
    main()

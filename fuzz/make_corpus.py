#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus (fuzz/corpus/) from the forms' worked values.

Each seed is a script in the format of fuzz/script.h: the form on the first line, then
one action a line. Seeds for forms that are not in the catalog yet still run: the first
line then chooses another form by its hash. Run from anywhere; it rewrites the folder.
"""
import pathlib

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus"
# The longest input the fuzzer makes (-max_len in fuzz/run_bounded.sh): a longer seed
# would be cut short.
MAX_LEN = 512

# Texts that a user can paste or type: the edges of the number conversion and of the
# display, and what the key filters refuse.
HOSTILE = [
    "", ".", "-", "+", "-0", "+5", " 2 ", "1..2", "1e5", "abc", "是", "否", "雷电",
    "340282356779733661637539395458142568448", "1" + "0" * 45, "0." + "0" * 44 + "1",
    "-999999999999", "0.000001", "65536.125", "\\t7", "\\x00", "\\r", "\\e", "\\b",
]


def seed(form, *lines):
    return "\n".join([form, *lines]) + "\n"


def calc(form, inputs, button="CmdRun", picks=(), select=None, extra=()):
    """Paste the inputs (pick list entries first), select an option, press."""
    lines = [f"pick {box} {text}" for box, text in picks]
    lines += [f"set {box} {text}" for box, text in inputs]
    if select:
        lines.append(f"select {select}")
    lines.append(f"press {button}")
    lines += list(extra)
    return seed(form, *lines)


def typed(form, inputs, enter=True, button="CmdRun"):
    """The same inputs typed key by key, finishing with Enter (or a press)."""
    lines = [f"set {box} " for box, _ in inputs] + [f"type {box} {text}" for box, text in inputs]
    lines.append(f"type {inputs[-1][0]} \\r" if enter else f"press {button}")
    return seed(form, *lines)


def rods(hr, h, hx, **more):
    return [("CmbHr", hr), ("CmbH", h), ("CmbHx", hx)] + list(more.items())


SEEDS = {}


def add(name, text):
    SEEDS[name] = text


# Protection range: single rod, two rods, three and four rods.
for i, v in enumerate([("30", "30", "0"), ("30", "20", "5"), ("45", "25", "10"), ("60", "40", "12"),
                       ("30", "10", "10"), ("30", "30.5", "0"), ("30", "20", "21")]):
    add(f"frmRx_DLDanZ-{i}", calc("frmRx_DLDanZ", rods(*v)))
add("frmRx_DLDanZ-typed", typed("frmRx_DLDanZ", rods("30", "20", "5")))
for i, (yn, *v) in enumerate([("是", "30", "40", "15"), ("否", "30", "40", "15"), ("是", "30", "50", "15"),
                              ("是", "30", "10", "12"), ("也许", "30", "40", "15")]):
    add(f"frmRx_JSDanZ-{i}", calc("frmRx_JSDanZ", rods(*v), picks=[("CmbYesNo", yn)]))
add("frmRx_JSDanZ-typed", typed("frmRx_JSDanZ", rods("30", "40", "15"), enter=True))
for i, v in enumerate([("30", "20", "5", "30"), ("30", "30", "0", "40"), ("30", "20", "10", "50"),
                       ("30", "20", "5", "56.56854"), ("30", "20", "5", "56.56855")]):
    add(f"frmRx_DLShuangZ-{i}", calc("frmRx_DLShuangZ", rods(*v[:3], CmbD=v[3])))
for i, (yn, *v) in enumerate([("是", "30", "40", "15", "30"), ("否", "30", "40", "15", "30"),
                              ("是", "30", "25", "10", "20")]):
    add(f"frmRx_JSShuangZ-{i}", calc("frmRx_JSShuangZ", rods(*v[:3], CmbD=v[3]), picks=[("CmbYesNo", yn)]))
for i, v in enumerate([("30", "20", "5", "30"), ("30", "20", "5", "57")]):
    add(f"frmRx_DLSanZ-{i}", calc("frmRx_DLSanZ", rods(*v[:3], CmbL=v[3])))
for i, v in enumerate([("30", "20", "5", "30"), ("45", "30", "10", "40"), ("30", "30", "0", "40"),
                       ("30", "20", "5", "40"), ("30", "20", "5", "45"), ("30", "20", "5", "57")]):
    add(f"frmRx_DLSiZ-{i}", calc("frmRx_DLSiZ", rods(*v[:3], CmbL=v[3])))

# Protection range: one and two overhead wires.
for i, v in enumerate([("30", "20", "5", "100"), ("30", "20", "5", "130"), ("30", "40", "5", "100"),
                       ("45", "30", "10", "80"), ("30", "60", "0", "100"), ("30", "59", "5", "100"),
                       ("30", "20", "25", "100"), ("30", "1", "0", "100"), ("30", "20", "5", "200")]):
    add(f"frmRxBx_DanX-{i}", calc("frmRxBx_DanX", rods(*v[:3], CmbD=v[3])))
for i, v in enumerate([("30", "20", "5", "100", "20"), ("30", "20", "5", "130", "20"), ("30", "30", "0", "100", "40"),
                       ("45", "30", "10", "100", "30"), ("30", "3", "0", "100", "25"), ("30", "61", "0", "100", "10"),
                       ("30", "60", "0", "100", "10"), ("30", "40", "0", "100", "10"), ("", "20", "5", "100", "20")]):
    add(f"frmRxBx_ShuangX-{i}", calc("frmRxBx_ShuangX", rods(*v[:3], CmbD1=v[3], CmbD2=v[4])))
# Two rods of different heights: the worked vector, the rods named the other way round,
# each a single rod (apart, the lower rod too near, no spacing), a width below zero, the
# checks of each rod, and the sphere radius pasted empty.
for i, v in enumerate([("45", "20", "30", "60", "5"), ("45", "30", "20", "60", "5"), ("45", "20", "30", "80", "5"),
                       ("45", "30", "20", "10", "5"), ("45", "20", "30", "0", "5"), ("45", "20", "30", "60", "9"),
                       ("30", "31", "20", "10", "0"), ("30", "20", "10", "10", "12"), ("", "20", "30", "60", "5")]):
    add(f"frmRx_BDGShuangZ-{i}", calc("frmRx_BDGShuangZ", [("CmbHr", v[0]), ("CmbH1", v[1]), ("CmbH2", v[2]),
                                                            ("CmbD", v[3]), ("CmbHx", v[4])]))

# Heights of rods and wires.
for i, v in enumerate([("30", "10", "5"), ("30", "20", "0"), ("30", "30", "0"), ("0", "0", "0"), ("30", "40", "5")]):
    add(f"frmH_DLDanZ-{i}", calc("frmH_DLDanZ", [("CmbHr", v[0]), ("CmbRxo", v[1]), ("CmbHx", v[2])]))
for i, (yn, *v) in enumerate([("是", "30", "10", "5", "5"), ("否", "30", "10", "5", "5"), ("是", "30", "5", "10", "12"),
                              ("是", "30", "10", "5", "0"), ("否", "30", "30", "5", "0")]):
    add(f"frmH_JSDanZ-{i}", calc("frmH_JSDanZ", [("CmbHr", v[0]), ("CmbRxo", v[1]), ("CmbHx", v[2]), ("CmbG", v[3])],
                                 picks=[("CmbYesNo", yn)]))
for i, v in enumerate([("30", "10", "5", "20"), ("45", "10", "10", "30"), ("30", "10", "5", "0"), ("30", "10", "5", "40")]):
    add(f"frmH_DLShuangZ-{i}",
        calc("frmH_DLShuangZ", [("CmbHr", v[0]), ("CmbBxo", v[1]), ("CmbHx", v[2]), ("CmbD", v[3])]))
for i, yn in enumerate(["是", "否"]):
    add(f"frmH_JSShuangZ-{i}", calc("frmH_JSShuangZ", [("CmbHr", "30"), ("CmbBxo", "10"), ("CmbHx", "5"),
                                                        ("CmbD", "20"), ("CmbG", "5")], picks=[("CmbYesNo", yn)]))
add("frmH_JSShuangZ-2", calc("frmH_JSShuangZ", [("CmbHr", "30"), ("CmbBxo", "10"), ("CmbHx", "5"), ("CmbD", "20"),
                                                ("CmbG", "0")], picks=[("CmbYesNo", "是")]))
for form in ["frmH_DLSanZ", "frmH_DLSiZ"]:
    for i, v in enumerate([("30", "10", "5", "20"), ("45", "10", "10", "30"), ("30", "5", "0", "20"), ("30", "10", "5", "40")]):
        add(f"{form}-{i}", calc(form, [("CmbHr", v[0]), ("CmbBxo", v[1]), ("CmbHx", v[2]), ("CmbL", v[3])]))
for i, v in enumerate([("30", "10", "5", "100"), ("30", "10", "5", "130"), ("60", "20", "10", "140"),
                       ("30", "10", "5", "160"), ("30", "0", "0", "160"), ("30", "0", "0", "100")]):
    add(f"frmH_DanX-{i}", calc("frmH_DanX", [("CmbHr", v[0]), ("CmbBx1o", v[1]), ("CmbHx", v[2]), ("CmbD", v[3])]))
for i, v in enumerate([("30", "10", "5", "100", "20"), ("30", "10", "5", "130", "20"), ("30", "10", "0", "100", "59.9"),
                       ("30", "25", "5", "100", "50"), ("30", "10", "5", "160", "20"), ("30", "5", "5", "100", "40"),
                       ("30", ".", "5", "100", "20"), ("30", "10", "5", "100", "70")]):
    add(f"frmH_ShuangX-{i}", calc("frmH_ShuangX", [("CmbHr", v[0]), ("CmbHoo", v[1]), ("CmbHx", v[2]),
                                                    ("CmbD1", v[3]), ("CmbD2", v[4])]))
for i, v in enumerate([("45", "20", "60", "5", "5"), ("30", "20", "30", "5", "7.396033"), ("45", "20", "100", "5", "5"),
                       ("45", "20", "60", "5", "30"), ("30", "10", "30", "12", "5"), ("30", "20", "30", "5", "31")]):
    add(f"frmH_BDGShuangZ-{i}", calc("frmH_BDGShuangZ", [("CmbHr", v[0]), ("CmbH1", v[1]), ("CmbD", v[2]),
                                                          ("CmbHx", v[3]), ("CmbBxo", v[4])]))

# Earthing resistance.
for i, (rho, length) in enumerate([("50", "10"), ("150", "5"), ("300", "10"), ("500", "5"), ("500", "20"), ("510", "5"),
                                   ("1000", "10"), ("1050", "10"), ("1500", "20"), ("2000", "5"), ("3000", "30"),
                                   ("3000", "200"), ("0", "5")]):
    add(f"frmDZ_GC-{i}", calc("frmDZ_GC", [("CmbR", "10"), ("Cmbρ", rho), ("CmbL", length)]))
for i, (steel, s, rho, l1, n, l2) in enumerate([("等边角钢", "0.05", "300", "2.5", "4", "10"),
                                               ("圆钢", "0.02", "100", "2.5", "1", "5"),
                                               ("钢管", "0.05", "500", "3", "6", "20"),
                                               ("扁钢", "0.04", "200", "2.5", "10", "15"),
                                               ("圆钢", "0.05", "100", "0.01", "1", "5"),
                                               ("圆钢", "0.05", "100", "-1", "1", "5")]):
    add(f"frmDZ_ChuiZhi-{i}", calc("frmDZ_ChuiZhi", [("CmbGg", s), ("Cmbρ", rho), ("CmbL1", l1), ("CmbN", n), ("CmbL2", l2)],
                                   button="CmdRun_GP", picks=[("CmbGx", steel)], extra=["press CmdRun_CJ"]))
add("frmDZ_ChuiZhi-impulse-first", calc("frmDZ_ChuiZhi", [("Cmbρ", "300"), ("CmbL2", "10")], button="CmdRun_CJ"))
for i, (steel, s, rho, l1, h, opt, l2) in enumerate([("扁钢", "0.04", "100", "10", "0.8", "OptA1", "10"),
                                                    ("扁钢", "0.04", "100", "10", "0.8", "OptA2", "10"),
                                                    ("扁钢", "0.04", "300", "20", "0.8", "OptA3", "20"),
                                                    ("圆钢", "0.01", "300", "20", "0.6", "OptA4", "20"),
                                                    ("扁钢", "0.04", "1000", "40", "0.8", "OptA5", "40"),
                                                    ("等边角钢", "0.05", "600", "30", "0.7", "OptA6", "30"),
                                                    ("钢管", "0.05", "100", "10", "0.8", "OptA7", "10"),
                                                    ("扁钢", "0", "100", "10", "0.8", "OptA1", "10")]):
    add(f"frmDZ_ShuiPing-{i}", calc("frmDZ_ShuiPing", [("CmbGg", s), ("Cmbρ", rho), ("CmbL1", l1), ("CmbH", h),
                                                       ("CmbL2", l2)], button="CmdRun_GP", picks=[("CmbGx", steel)],
                                    select=opt, extra=["press CmdRun_CJ"]))
for i, (yn, rb, rp, rm, n, rho, length) in enumerate([("是", "10", "20", "5", "4", "300", "20"),
                                                     ("否", "10", "20", "", "", "300", "20"),
                                                     ("是", "30", "60", "10", "2", "1000", "30"),
                                                     ("否", "4", "4", "", "", "80", "10"),
                                                     ("是", "0", "10", "0", "1", "-5", "10")]):
    add(f"frmDZ_XT-{i}", calc("frmDZ_XT", [("CmbRB", rb), ("CmbRP", rp), ("CmbRM", rm), ("CmbN", n), ("Cmbρ", rho),
                                           ("CmbL", length)], button="CmdRun_GP", picks=[("CmbYesNo", yn)],
                              extra=["press CmdRun_CJ"]))

# Other calculators.
for i, h in enumerate(["30", "100", "0", "-1", "250"]):
    add(f"frmLJCS-{i}", calc("frmLJCS", [("CmbK", "1.0"), ("CmbTd", "40"), ("CmbL", "50"), ("CmbW", "20"), ("CmbH", h)]))
add("frmLJCS-typed", typed("frmLJCS", [("CmbTd", "40"), ("CmbL", "50"), ("CmbW", "20"), ("CmbH", "30")]))
# The settings beside the form: chosen before a press, and after one (which presses again).
add("frmLJCS-settings", seed("frmLJCS", "choose edition 2010", "choose use public",
                             *calc("frmLJCS", [("CmbTd", "40"), ("CmbL", "50"), ("CmbW", "20"),
                                               ("CmbH", "30")]).splitlines()[1:],
                             "choose edition 1994", "choose use civil", "choose edition 2010",
                             "reopen", "choose edition 1994"))
for i, (a, b) in enumerate([("3", "4"), ("1", "1"), ("30", "45")]):
    add(f"frmZJXB-{i}", calc("frmZJXB", [("CmbLa1", a), ("CmbLb", b)], button="CmdRun1"))
for i, (a, c) in enumerate([("3", "5"), ("12.5", "60"), ("7", "7"), ("8", "5")]):
    add(f"frmZJXB-leg-{i}", calc("frmZJXB", [("CmbLa2", a), ("CmbLc", c)], button="CmdRun2"))
add("frmZJXB-typed", typed("frmZJXB", [("CmbLa1", "3"), ("CmbLb", "4")], enter=True))

# Hostile texts and keys on the first forms of each kind; mutation carries them elsewhere.
# The pasted texts are spread over a few seeds, each well within the fuzzer's input
# length (fuzz/run_bounded.sh), so that none is cut short.
HOSTILE_PER_SEED = 8
for form, valid in [("frmRx_DLDanZ", rods("30", "20", "5")),
                    ("frmH_DLDanZ", [("CmbHr", "30"), ("CmbRxo", "10"), ("CmbHx", "5")]),
                    ("frmDZ_GC", [("CmbR", "10"), ("Cmbρ", "300"), ("CmbL", "10")]),
                    ("frmLJCS", [("CmbK", "1.0"), ("CmbTd", "40"), ("CmbL", "50"), ("CmbW", "20"), ("CmbH", "30")])]:
    boxes = [box for box, _ in valid]
    for part in range(0, len(HOSTILE), HOSTILE_PER_SEED):
        lines = [f"set {box} {text}" for box, text in valid]
        for i, text in enumerate(HOSTILE[part:part + HOSTILE_PER_SEED], start=part):
            box, good = valid[i % len(valid)]
            lines += [f"set {box} {text}", "press CmdRun", f"set {box} {good}"]
        add(f"{form}-hostile-pasted-{part // HOSTILE_PER_SEED}", seed(form, *lines))
    lines = [f"type {box} 1.-+e 雷\\x03\\x16\\b\\b2" for box in boxes]
    lines += [f"key {boxes[0]} 13", f"key {boxes[-1]} 27", f"type {boxes[0]} 7\\r", "reopen"]
    add(f"{form}-hostile-typed", seed(form, *lines))


def main():
    for name, text in SEEDS.items():
        assert len(text.encode("utf-8")) <= MAX_LEN, f"{name} is longer than {MAX_LEN} bytes"
    CORPUS.mkdir(exist_ok=True)
    for old in CORPUS.glob("*.txt"):
        old.unlink()
    for name, text in SEEDS.items():
        (CORPUS / f"{name}.txt").write_text(text, encoding="utf-8")
    print(f"{len(SEEDS)} seeds in {CORPUS}")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Verdicts and weak points through the driver, as a reviewer tries them: each press with
the requirement the sheet would take, read in the JSON ("verdict", "warnings") and in the
sheet's text (the 保护校核 lines and the 结论). A place of the protected level the rolling
sphere still reaches must be named, and no requirement passes beside it."""

import json
import subprocess
import sys

CALC = sys.argv[1]
failures = []
passed = 0


def run(*args):
    p = subprocess.run([CALC, *args], capture_output=True, text=True)
    return p.returncode, p.stdout, p.stderr


def parsed(out):
    try:
        return json.loads(out)
    except json.JSONDecodeError:
        return {"results": {}, "messages": [], "working": []}


def check(name, ok, detail=""):
    global passed
    if ok:
        passed += 1
    else:
        failures.append(f"{name}: {detail}")


# (name, requirement or None, form and actions, verdict ok (None: no verdict),
#  the places of the warnings, texts the 结论 must hold)
CASES = [
    ("three rods: the centre below Hx although Bx passes", "Bx=0.5",
     "frmRx_DLSanZ CmbHr=30 CmbH=15 CmbHx=4.5 CmbL=40", False, ["三针中心"],
     ["Hoc = 4.148542 m < Hx = 4.5 m", "不满足保护要求"]),
    ("three rods: the centre covered", "Bx=0.5",
     "frmRx_DLSanZ CmbHr=30 CmbH=15 CmbHx=5 CmbL=30", True, [],
     ["Bx = 4.63 m ≥ 0.5 m，满足保护要求"]),
    ("three rods, wide: side and centre", None,
     "frmRx_DLSanZ CmbH=20 CmbHx=10 CmbL=50", False, ["三角形边上两针之间", "三针中心"],
     ["Bx = -9.131923 m < 0", "不满足保护要求"]),
    ("three rods: the sphere passes between the tips to the ground", "Rx=1",
     "frmRx_DLSanZ CmbHr=30 CmbH=30 CmbHx=0 CmbL=55", False, ["三针中心"],
     ["Rc = 31.75426 m ≥ Hr = 30 m"]),
    ("four rods: Bx1 passes, the diagonal is negative", "Bx1=4",
     "frmRx_DLSiZ CmbHr=30 CmbH=15 CmbHx=5 CmbL=30", False, ["正方形中心（对角线上）"],
     ["Bx1 = 4.63 m ≥ 4 m，但", "Ho2 = 4.019238 m < Hx = 5 m"]),
    ("four rods: the centre covered", "Bx2=3",
     "frmRx_DLSiZ CmbHr=45 CmbH=30 CmbHx=10 CmbL=40", True, [],
     ["Bx2 = 3.33 m ≥ 3 m，满足保护要求"]),
    ("two rods: a negative width", "Rx=1",
     "frmRx_DLShuangZ CmbHr=30 CmbH=15 CmbHx=8 CmbD=40", False, ["两针之间"],
     ["Bx = -3.812954 m < 0"]),
    ("two rods on a roof, 否: a negative width", None,
     "frmRx_JSShuangZ --pick CmbYesNo=否 CmbHr=30 CmbH=20 CmbHx=10 CmbD=50", False, ["两针之间"],
     ["Bx = -9.131923 m < 0"]),
    ("rods of different heights: the width reaches", "Bx=5",
     "frmRx_BDGShuangZ CmbHr=45 CmbH1=20 CmbH2=30 CmbD=60 CmbHx=5", True, [],
     ["Bx = 5.63 m ≥ 5 m，满足保护要求"]),
    ("rods of different heights: a negative width", "Rx1=1",
     "frmRx_BDGShuangZ CmbHr=45 CmbH1=20 CmbH2=30 CmbD=60 CmbHx=9", False, ["两针之间"],
     ["Bx = -0.753307 m < 0", "不满足保护要求"]),
    ("rods of different heights each a single rod: the plane between open", "Rx1=10",
     "frmRx_BDGShuangZ CmbHr=45 CmbH1=20 CmbH2=30 CmbD=80 CmbHx=5", False, ["两针之间"],
     ["Rx1 + Rx2 = 38.61193 m < D = 80 m", "不满足保护要求"]),
    ("two wires: Ho below Hx and a negative Bx1", "Bx1=0",
     "frmRxBx_ShuangX CmbHr=30 CmbH=10 CmbD1=100 CmbD2=43 CmbHx=2", False,
     ["两线之间（档距中央）", "两线之间（支柱处）"], ["Ho = -1.077524 m < Hx = 2 m"]),
    ("one wire above Hr: compared with the narrower width", "Bx1=12",
     "frmRxBx_DanX CmbHr=30 CmbH=40 CmbD=130 CmbHx=5", False, [],
     ["较窄的保护宽度 Bx2 = 11.70 m < 12 m，不满足保护要求"]),
    ("one wire above Hr: both widths reach", "Bx1=11",
     "frmRxBx_DanX CmbHr=30 CmbH=40 CmbD=130 CmbHx=5", True, [],
     ["较窄的保护宽度 Bx2 = 11.70 m ≥ 11 m，满足保护要求"]),
    ("one wire: negative widths", None,
     "frmRxBx_DanX CmbHr=30 CmbH=59 CmbHx=5 CmbD=100", False, ["档距中央", "支柱处"],
     ["Bx1 = -3.506427 m < 0", "Bx2 = -8.901978 m < 0"]),
    ("range: a result equal to the requirement passes", "Rx=11.70115",
     "frmRx_DLDanZ CmbH=20 CmbHx=5", True, [], ["Rx = 11.70115 m ≥ 11.70115 m，满足保护要求"]),
    ("four-rod height: the centre open at the height found", None,
     "frmH_DLSiZ CmbHr=45 CmbBxo=2 CmbHx=10 CmbL=40", False, ["正方形中心（对角线上）"],
     ["H = 18.41 m 时，Bx1 = 2.00 m ≥ Bxo = 2 m，但", "Ho2 = 6.172913 m < Hx = 10 m",
      "中心处满足要求需 H ≥ 24.38448 m", "不满足要求"]),
    ("four-rod height: Bx2 negative", None,
     "frmH_DLSiZ CmbBxo=5 CmbHx=5 CmbL=30", False, ["正方形中心（对角线上）"],
     ["Ho2 = 4.332998 m < Hx = 5 m", "中心处满足要求需 H ≥ 16.77125 m"]),
    ("four-rod height: the target is compared with Bx1, the width it names", None,
     "frmH_DLSiZ CmbHr=45 CmbBxo=5 CmbHx=5 CmbL=30", True, [],
     ["H = 11.20 m 时，Bx1 = 5.01 m ≥ Bxo = 5 m，满足要求"]),
    ("three-rod height: the centre needs a taller rod", None,
     "frmH_DLSanZ CmbBxo=3 CmbHx=0 CmbL=40", False, ["三针中心"],
     ["Hoc = -2.991373 m < Hx = 0 m", "中心处满足要求需 H ≥ 10.85146 m"]),
    ("three-rod height: the centre no rod can cover", None,
     "frmH_DLSanZ CmbBxo=1 CmbHx=0 CmbL=55", False, ["三针中心"],
     ["任何针高都不能使该处受保护"]),
    ("two-wire height above the sphere: the sphere passes between the wires to the ground",
     None, "frmH_ShuangX CmbHoo=16 CmbHx=5 CmbD1=100 CmbD2=58", False, ["两线之间档距中央"],
     ["Ho = 16.00 m ≥ Hoo = 16 m，但", "滚球几何 S = 0 m < Hx = 5 m",
      "公式 Ho = 16.00039 m 偏于不安全", "不满足要求"]),
]

for name, require, press, ok, places, texts in CASES:
    req = ["--require", require] if require else []
    rc, out, err = run("--json", *req, *press.split())
    check(name, rc == 0, f"exit {rc}: {err}")
    if rc != 0:
        continue
    j = parsed(out)
    got_places = [w["where"] for w in j.get("warnings", [])]
    check(name, got_places == places, f"warnings {got_places} != {places}")
    for w in j.get("warnings", []):
        check(name, "Hx 高度该处无保护" in w["text"], f"warning text {w['text']}")
    verdict = j.get("verdict")
    check(name, (verdict or {}).get("ok") == ok, f"verdict {verdict}")
    for t in texts:
        check(name, verdict is not None and t in verdict["text"], f"'{t}' not in {verdict}")
    # The sheet carries the same words: the 保护校核 lines and the 结论.
    rc, out, err = run("--text", *req, *press.split())
    check(name, rc == 0, f"--text exit {rc}: {err}")
    for w in j.get("warnings", []):
        check(name, f"保护校核：{w['where']}：{w['text']}" in out, f"sheet lacks {w}")
    conclusion = out[out.rfind("结论"):]
    for t in texts:
        check(name, t in conclusion, f"sheet's 结论 lacks '{t}'")

# A lowest point the sphere shows to be too high, though the plane Hx below it is still
# protected: the target is not met, and the sheet says why.
press = "frmH_ShuangX CmbHoo=15 CmbHx=5 CmbD1=100 CmbD2=58".split()
rc, out, _ = run("--json", *press)
j = parsed(out)
check("below the formula, above Hx: the weak point",
      [(w["where"], w["text"]) for w in j.get("warnings", [])] ==
      [("两线之间档距中央", "保护高度不足（滚球几何 S = 8.969717 m 低于公式；公式 Ho = 15.00055 m 偏于不安全）")],
      j.get("warnings"))
check("below the formula, above Hx: the verdict", (j.get("verdict") or {}).get("ok") is False,
      j.get("verdict"))
rc, out, _ = run("--text", *press)
check("below the formula, above Hx: the sheet", "保护校核：两线之间档距中央：保护高度不足" in out
      and "按滚球几何精确校核：两线之间档距中央 S = 8.969717 m" in out, out[-600:])

# The centre of three rods is worked out in the working: the sphere on the three tips.
for press, hoc in (("frmRx_DLSanZ CmbHr=30 CmbH=15 CmbHx=5 CmbL=30", "9.494897"),
                   ("frmRx_DLSanZ CmbHr=30 CmbH=15 CmbHx=4.5 CmbL=40", "4.148542")):
    rc, out, _ = run("--json", *press.split())
    steps = {s["symbol"]: s for s in parsed(out)["working"]}
    check(f"centre in the working: {press}", steps.get("Hoc", {}).get("value") == hoc, steps.get("Hoc"))

# An impulse press before any power-frequency press: a message, nothing printed, and a
# requirement cannot pass on it.
rc, out, _ = run("--json", "--require", "Ri=10", "frmDZ_XT", "--pick", "CmbYesNo=否",
                 "Cmbρ=300", "CmbL=25", "--press", "CmdRun_CJ")
j = parsed(out)
check("impulse first: exit", rc == 0, rc)
check("impulse first: message", [m["text"].split("\n")[0] for m in j["messages"]] == ["请先求工频电阻！"],
      j["messages"])
check("impulse first: nothing printed", j["results"].get("PicRi") == "", j["results"])
check("impulse first: no pass", j.get("verdict", {}).get("ok") is False, j.get("verdict"))
for form in ("frmDZ_ChuiZhi", "frmDZ_ShuiPing"):
    rc, out, _ = run("--json", form, "Cmbρ=300", "CmbL2=25", "--press", "CmdRun_CJ")
    j = parsed(out)
    check(f"{form}: impulse first", j["results"].get("PicRi") == "" and len(j["messages"]) == 1, j)

# Earthing: a resistance exactly equal to the highest allowed passes.
rc, out, _ = run("--json", "frmDZ_XT", "--pick", "CmbYesNo=否", "CmbRB=10", "CmbRP=20",
                 "--press", "CmdRun_GP")
R = parsed(out)["results"].get("PicR", "").strip() or "0"
for allowed, ok in ((R, True), (str(float(R) * 0.999), False)):
    rc, out, _ = run("--json", "--require", f"R={allowed}", "frmDZ_XT", "--pick", "CmbYesNo=否",
                     "CmbRB=10", "CmbRP=20", "--press", "CmdRun_GP")
    v = parsed(out).get("verdict")
    check(f"earthing R = {R} against {allowed}", (v or {}).get("ok") is ok, v)

# A rod body that would come out negative is refused and nothing is printed.
for press, tip in (("frmH_JSDanZ --pick CmbYesNo=否 CmbRxo=5 CmbHx=10 CmbG=20", "17.7"),
                   ("frmH_JSShuangZ --pick CmbYesNo=否 CmbBxo=1 CmbHx=10 CmbG=20 CmbD=20",
                    "14.06023")):
    rc, out, _ = run("--json", *press.split())
    j = parsed(out)
    check(f"negative body: {press}", all(v == "" for v in j["results"].values()), j["results"])
    check(f"negative body message: {press}",
          len(j["messages"]) == 1 and "针体长度为负" in j["messages"][0]["text"]
          and f"H(针尖) = {tip}" in j["messages"][0]["text"], j["messages"])
    rc, _, _ = run("--text", *press.split())
    check(f"negative body leaves no record: {press}", rc == 3, rc)

# The driver's contract for --require.
for args, code in ((["--require", "Bx", "frmRx_DLDanZ", "CmbH=20", "CmbHx=5"], 2),
                   (["--require", "Rx=abc", "frmRx_DLDanZ", "CmbH=20", "CmbHx=5"], 2),
                   (["--require", "Q=1", "frmRx_DLDanZ", "CmbH=20", "CmbHx=5"], 2),
                   (["--require", "Rx=1", "frmH_DLDanZ", "CmbRxo=10", "CmbHx=5"], 2),
                   (["--require", "Rx=1", "frmRx_DLDanZ", "CmbH=20", "CmbHx=5"], 0)):
    rc, _, err = run(*args)
    check(f"--require exit {args}", rc == code and (code == 0 or err.count("\n") == 1), (rc, err))
rc, out, _ = run("--json", "frmRx_DLDanZ", "CmbH=20", "CmbHx=5")
j = parsed(out)
check("no requirement: no verdict, empty warnings", "verdict" not in j and j.get("warnings") == [], j)

for f in failures:
    print("FAIL", f)
print(f"checks: {passed} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)

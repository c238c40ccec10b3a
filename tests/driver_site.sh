#!/usr/bin/env bash
# tervalen-calc --site: S at points and the protected area of one rod against their closed
# forms, the roofs' verdict, the JSON object, exit 2 for a malformed command line, 4 for a
# site file that cannot be read or is refused (one line), 3 for a plan that cannot be
# written (nothing left); and a comma-decimal locale gives the same numbers.
set -u
calc="$1"
fails=0
check() {  # check NAME EXPECTED ACTUAL
    if [[ "$2" != "$3" ]]; then
        printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
        fails=$((fails + 1))
    fi
}
dir="$(mktemp -d)"
trap 'chmod -R u+w "$dir"; rm -rf "$dir"' EXIT

# One rod of 20 m, sphere 45 m: at 10 m from it S = 9.3162295 m (from
# √(H(2Hr−H)) − √(z(2Hr−z)) = 10), shown with the result boxes' 7 digits; at z = 5 m it
# protects a disk of radius √1400 − √425 = 16.80 m (886.7 m², the polygon's within its
# perimeter times 0.01 m); far away the sphere reaches the ground.
cat >"$dir/rod.tvs" <<'SITE'
{"format": "tervalen-site", "version": 1, "hr": 45, "rods": [{"x": 0, "y": 0, "tip": 20}]}
SITE
# A roof of 12 m × 10 m at 10 m with one rod 2 m above it in a corner: the far corner is
# open to the sphere.
cat >"$dir/roof.tvs" <<'SITE'
{"format": "tervalen-site", "version": 1, "hr": 30,
 "rods": [{"x": 1, "y": 1, "base": 10, "tip": 12}],
 "buildings": [{"name": "泵房", "outline": [[0, 0], [12, 0], [12, 10], [0, 10]], "roof": 10}]}
SITE

check "S at points" "$(printf '%s\n' '滚球半径 hr = 45 m；接闪杆 1 根，接闪导体 0 根，接闪线 0 根，建筑物 0 座' \
    'S(10, 0) = 9.31623 m' 'S(0, 200) = 0 m')" \
    "$("$calc" --site "$dir/rod.tvs" --at 10,0 --at 0,200)"

json="$("$calc" --site "$dir/rod.tvs" --json --at 10,0 --level 5)"
check "json: S, area of the disk, its hole in the uncovered area" "True True 1 1 True" \
    "$(python3 -c '
import json, math, sys
j = json.loads(sys.argv[1])
l = j["levels"][0]
r = math.sqrt(1400) - math.sqrt(425)
s = 45 - math.sqrt(45**2 - (math.sqrt(1400) - 10)**2)
print(abs(j["surface"][0]["s"] - s) < 1e-6,
      abs(l["protected_area"] - math.pi * r * r) < 2 * math.pi * r * 0.01,
      len(l["uncovered"]), len(l["uncovered_holes"][0]), "ok" not in j and j["roofs"] == [])' "$json")"

roof="$("$calc" --site "$dir/roof.tvs")"
check "an open roof is not passed" "[保护校核] 屋面 “泵房”（10 m）：不满足 结论：不满足" \
    "$(grep -o '^\[保护校核\] 屋面 “泵房”（10 m）：不满足' <<<"$roof") $(grep -o '^结论：不满足' <<<"$roof")"
check "its roof height is the default level" "1" "$(grep -c '^高度 10 m：' <<<"$roof")"
check "json: the roof's verdict" "False False 10" "$("$calc" --site "$dir/roof.tvs" --json |
    python3 -c 'import json,sys; j=json.load(sys.stdin); print(j["roofs"][0]["ok"], j["ok"], "%g" % j["levels"][0]["z"])')"

# A comma-decimal locale: the same numbers, in the text and the files.
if locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    check "de_DE gives the same text" "$("$calc" --site "$dir/rod.tvs" --at 10.5,0.25 --level 5)" \
        "$(LC_ALL=de_DE.UTF-8 "$calc" --site "$dir/rod.tvs" --at 10.5,0.25 --level 5)"
    "$calc" --site "$dir/rod.tvs" --level 5 --dxf "$dir/c.dxf" --svg "$dir/c.svg" >/dev/null
    LC_ALL=de_DE.UTF-8 "$calc" --site "$dir/rod.tvs" --level 5 --dxf "$dir/de.dxf" \
        --svg "$dir/de.svg" >/dev/null
    check "de_DE gives the same DXF and SVG" "same" \
        "$(cmp -s "$dir/c.dxf" "$dir/de.dxf" && cmp -s "$dir/c.svg" "$dir/de.svg" && echo same)"
    check "and in de_DE --at takes a point" "2" \
        "$(LC_ALL=de_DE.UTF-8 "$calc" --site "$dir/rod.tvs" --at 10,5,0 2>/dev/null; echo $?)"
fi

# The plan: the rod, the protected disk at 5 m; the roof's uncovered part in red.
"$calc" --site "$dir/roof.tvs" --svg "$dir/roof.svg" --dxf "$dir/roof.dxf" >/dev/null
check "the plan names the roof and marks it" "2 1" \
    "$(grep -c '泵房\|该处无保护' "$dir/roof.svg") $(grep -c 'LP-WARN' "$dir/roof.dxf" | awk '{print ($1 > 0)}')"

# "STATUS LINES" of a run: its exit status and the lines it wrote on stderr.
status() {
    local err rc
    err="$("$@" 2>&1 >/dev/null)"
    rc=$?
    echo "$rc $(grep -c '' <<<"$err")"
}
while IFS='|' read -r expected args; do
    eval "set -- $args"
    check "$args" "$expected" "$(status "$calc" "$@")"
done <<CASES
2 1|--site "$dir/rod.tvs" --at 3
2 1|--site "$dir/rod.tvs" --at 3,y
2 1|--site "$dir/rod.tvs" --at 1e6,0
2 1|--site "$dir/rod.tvs" --at
2 1|--site "$dir/rod.tvs" --level abc
2 1|--site "$dir/rod.tvs" --level -1
2 1|--site "$dir/rod.tvs" --level nan
2 1|--at 3,4
2 1|--level 5 frmRx_DLDanZ
2 1|--site "$dir/rod.tvs" --text
2 1|--site "$dir/rod.tvs" frmRx_DLDanZ
2 1|--site "$dir/rod.tvs" --svg "$dir/rod.tvs"
2 1|--site
4 1|--site "$dir/none.tvs"
4 1|--site "$dir"
CASES

# Refused files: one line naming the file and what is wrong where.
printf '{"format": "tervalen-site", "version": 1, "hr": 45, "rods": [{"x": 0, "y": 0}]}' >"$dir/bad.tvs"
check "a refused file" "tervalen-calc: 无法打开场地文件“$dir/bad.tvs”：第 1 根接闪杆缺少 “tip”" \
    "$("$calc" --site "$dir/bad.tvs" --at 1,1 2>&1)"
check "its status" "4" "$("$calc" --site "$dir/bad.tvs" >/dev/null 2>&1; echo $?)"

# A plan that cannot be written: exit 3, one line, the old file as it was.
printf 'old\n' >"$dir/ro.svg" && chmod 0444 "$dir/ro.svg"
if [[ ! -w "$dir/ro.svg" ]] || [[ $(id -u) == 0 ]]; then
    check "a read-only plan" "3 1" "$(status "$calc" --site "$dir/rod.tvs" --svg "$dir/ro.svg")"
    check "left as it was" "old" "$(cat "$dir/ro.svg")"
fi
check "nothing left beside it" "" "$(ls -A "$dir" | grep '\.tmp$')"

((fails == 0)) && echo "driver --site: all checks passed"
exit $((fails > 0))

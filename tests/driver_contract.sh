#!/usr/bin/env bash
# The headless driver's command-line contract: actions, output forms and exit codes.
set -u
calc="$1"
fails=0
check() {  # check NAME EXPECTED ACTUAL
    if [[ "$2" != "$3" ]]; then
        printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
        fails=$((fails + 1))
    fi
}
status() { "$@" >/dev/null 2>&1; echo $?; }

check "plain result" "PicRx= 11.70115" "$("$calc" frmRx_DLDanZ CmbH=20 CmbHx=5)"
check "message then result" $'[提示] 避雷针太高！\n       避雷针高度 H 不应大于滚球半径 Hr ！\nPicRx=' \
    "$("$calc" frmRx_DLDanZ CmbH=30.5 CmbHx=0)"
check "typed keys pass the filter" "PicRx= 30" "$("$calc" frmRx_DLDanZ --type CmbH=30 --type CmbHx=0)"
check "refused key, critical icon" \
    '{"text":"Hr 值错误，只为数字！","icon":"critical"}' \
    "$("$calc" --json frmRx_DLDanZ --type CmbHr=. CmbH=20 CmbHx=5 | python3 -c 'import json,sys; print(json.dumps(json.load(sys.stdin)["messages"][0], ensure_ascii=False, separators=(",",":")))')"
check "json inputs keep the typed text" '{"CmbYesNo": "否", "CmbHr": "30", "CmbH": "40", "CmbHx": "15"}' \
    "$("$calc" --json frmRx_JSDanZ --pick CmbYesNo=否 CmbH=40 CmbHx=15 | python3 -c 'import json,sys; print(json.dumps(json.load(sys.stdin)["inputs"], ensure_ascii=False))')"
check "explicit press runs once per press" "PicRx= 29.5804" \
    "$("$calc" frmRx_JSDanZ CmbH=40 CmbHx=15 --press CmdRun)"
check "json working: the last press's steps, the result box's text, then the exact sphere's check" \
    '["H = 20 ≤ Hr = 30", "Hx = 5 ≤ H = 20", "Rx = √(20×(2×30−20))−√(5×(2×30−5)) = 11.70115 m", "按滚球几何精确校核：距针 Rx 处 S = 5 m，即 Hx = 5 m，为保护范围的边缘；Rx 与公式相符"]' \
    "$("$calc" --json frmRx_DLDanZ CmbH=20 CmbHx=5 | python3 -c 'import json,sys; print(json.dumps([s["note"] or s["symbol"]+" = "+s["substituted"]+" = "+s["value"]+" "+s["unit"] for s in json.load(sys.stdin)["working"]], ensure_ascii=False))')"
check "json working is empty after a refusal" '[]' \
    "$("$calc" --json frmRx_DLDanZ CmbH=31 CmbHx=5 | python3 -c 'import json,sys; print(json.dumps(json.load(sys.stdin)["working"]))')"
check "unknown form" 2 "$(status "$calc" frmNoSuchForm)"
check "unknown control" 2 "$(status "$calc" frmRx_DLDanZ CmbQ=1)"
check "unknown button" 2 "$(status "$calc" frmRx_DLDanZ --press CmdRun9)"
check "malformed action" 2 "$(status "$calc" frmRx_DLDanZ CmbH)"
check "result box is not an input" 2 "$(status "$calc" frmRx_DLDanZ PicRx=3)"
check "messages do not change the exit code" 0 "$(status "$calc" frmRx_DLDanZ CmbH=abc CmbHx=1)"
check "error is one line on stderr" 1 "$("$calc" frmRx_DLDanZ --press 2>&1 >/dev/null | wc -l | tr -d ' ')"

# The calculation sheet: --text after the results, --pdf to a file, exit 3 without a
# successful press (no file written, the message printed).
text="$("$calc" --text frmRx_DLDanZ CmbH=20 CmbHx=5)"
check "text: results first" "PicRx= 11.70115" "$(head -1 <<<"$text")"
check "text: the section" "1 独立单针保护范围计算" "$(sed -n 3p <<<"$text")"
check "text: known condition" "  H     避雷针高度    20    m" "$(grep '避雷针高度' <<<"$text")"
check "text: conclusion" "计算得 Rx = 11.70 m。" "$(tail -1 <<<"$text")"
refused="$("$calc" --text frmRx_DLDanZ CmbH=30.5 CmbHx=0 2>/dev/null; echo "rc=$?")"
check "text: refused press exits 3 after the message" "[提示] 避雷针太高！|rc=3" \
    "$(head -1 <<<"$refused")|$(tail -1 <<<"$refused")"
check "text: blank input exits 3" 3 "$(status "$calc" --text frmRx_DLDanZ CmbH=20)"
check "text and json exclude each other" 2 "$(status "$calc" --json --text frmRx_DLDanZ)"
check "pdf needs a file name" 2 "$(status "$calc" frmRx_DLDanZ --pdf)"
check "unknown option" 2 "$(status "$calc" --pfd x.pdf frmRx_DLDanZ)"

# The edition of the code the strikes follow: 1994 unless told otherwise.
strikes=(frmLJCS CmbTd=40 CmbL=50 CmbW=20 CmbH=30)
check "edition: default" "PicN= 0.07844704" "$("$calc" "${strikes[@]}")"
check "edition: 1994" "PicN= 0.07844704" "$("$calc" --edition 1994 "${strikes[@]}")"
check "edition: 2010" "PicN= 0.1080805" "$("$calc" --edition 2010 "${strikes[@]}")"
jsonOf() { python3 -c 'import json,sys; d=json.load(sys.stdin); print(d.get("edition"), d["results"]["PicN"])'; }
check "edition: json key" "2010  0.1080805" "$("$calc" --json --edition 2010 "${strikes[@]}" | jsonOf)"
check "edition: json key by default" "1994  0.07844704" "$("$calc" --json "${strikes[@]}" | jsonOf)"
check "edition: no key where there is no choice" "False" \
    "$("$calc" --json frmRx_DLDanZ CmbH=20 CmbHx=5 | python3 -c 'import json,sys; print("edition" in json.load(sys.stdin))')"
check "edition: the sheet names it" "《建筑物防雷设计规范》GB 50057-2010 附录A（建筑物年预计雷击次数）" \
    "$("$calc" --text --edition 2010 "${strikes[@]}" | grep '附录A（')"
check "edition: unknown year" 2 "$(status "$calc" --edition 2000 "${strikes[@]}")"
check "edition: without a year" 2 "$(status "$calc" --edition)"
# On a form without the choice the edition is the sheet's alone: its citations, its header.
check "edition: a form without the choice cites it" \
    "《建筑物防雷设计规范》GB 50057-94（2000年版）附录四（滚球法）" \
    "$("$calc" --text --edition 1994 frmRx_DLDanZ CmbH=20 CmbHx=5 | grep '附录四')"
check "edition: the sheet's default is 2010" \
    "《建筑物防雷设计规范》GB 50057-2010 附录D 第D.0.1条（单支接闪杆的保护范围，滚球法）" \
    "$("$calc" --text frmRx_DLDanZ CmbH=20 CmbHx=5 | grep '附录D')"
check "edition: Hr's basis" "滚球半径 Hr = 45 m：第二类防雷建筑物的滚球半径（《建筑物防雷设计规范》GB 50057-2010 表5.2.12）" \
    "$("$calc" --text frmRx_DLDanZ CmbHr=45 CmbH=20 CmbHx=5 | grep '滚球半径 Hr =')"
hdr="$(mktemp -d)"
"$calc" --add-to "$hdr/h.tvp" --header project=某厂区 frmRx_DLDanZ CmbH=20 CmbHx=5 >/dev/null
check "header: saved with --add-to, printed with --project" "1|1" \
    "$("$calc" --project "$hdr/h.tvp" --text | grep -c '工程名称 *某厂区')|$("$calc" --project "$hdr/h.tvp" --text --header project=另一工程 | grep -c '另一工程')"
check "header: the cover's fields, saved with --add-to" "计算书编号  JS-7|审定  赵工  2024-06-01" \
    "$("$calc" --add-to "$hdr/h.tvp" --header number=JS-7 --header approver=赵工 \
        --header approver_date=2024-06-01 frmRx_DLDanZ CmbH=25 CmbHx=5 >/dev/null
       "$calc" --project "$hdr/h.tvp" --text | grep -o '计算书编号  JS-7')|$("$calc" --project "$hdr/h.tvp" --text | grep -o '审定  赵工.*2024-06-01' | sed 's/  */  /g')"
check "header: record_per_page takes 0 or 1" "0|2" \
    "$(status "$calc" --project "$hdr/h.tvp" --header record_per_page=1)|$(status "$calc" --project "$hdr/h.tvp" --header record_per_page=yes)"
rm -rf "$hdr"
check "header: unknown field" 2 "$(status "$calc" --header owner=x frmRx_DLDanZ CmbH=20 CmbHx=5)"
out="$(mktemp -d)"
if "$calc" --pdf "$out/probe.pdf" frmRx_DLDanZ CmbH=20 CmbHx=5 2>&1 | grep -q 'has no Qt'; then
    echo "driver contract: this build has no Qt, the PDF checks are skipped"
    rm -rf "$out"
    out=""
fi
[[ -n "$out" ]] && check "pdf written" 0 "$(status "$calc" --pdf "$out/a.pdf" frmRx_DLDanZ CmbH=20 CmbHx=5)"
if [[ -n "$out" ]] && command -v pdftotext >/dev/null; then
    check "pdf holds the result" 1 "$(pdftotext "$out/a.pdf" - | grep -c '计算得 Rx = 11.70 m。')"
    check "pdf holds the drawing, its scale stated" 1 "$(pdftotext "$out/a.pdf" - | grep -c '比例 1:800（单位：米）')"
fi
[[ -n "$out" ]] && check "pdf of a refused press" "3 no file" \
    "$("$calc" --pdf "$out/b.pdf" frmRx_DLDanZ CmbH=30.5 CmbHx=0 >/dev/null 2>&1; echo $?) \
$([[ -e "$out/b.pdf" ]] && echo file || echo no file)"
[[ -n "$out" ]] && check "pdf that cannot be written" "3 no file" \
    "$("$calc" --pdf "$out/none/c.pdf" frmRx_DLDanZ CmbH=20 CmbHx=5 >/dev/null 2>&1; echo $?) \
$([[ -e "$out/none/c.pdf" ]] && echo file || echo no file)"
[[ -n "$out" ]] && check "json unchanged beside a pdf" "$("$calc" --json frmRx_DLDanZ CmbH=20 CmbHx=5)" \
    "$("$calc" --json --pdf "$out/d.pdf" frmRx_DLDanZ CmbH=20 CmbHx=5 2>/dev/null)"
[[ -n "$out" ]] && rm -rf "$out"

# Project files: --add-to appends a press as a record (a refused one adds nothing, exit
# 3), --project computes every record again; a file that cannot be read or written is
# exit 4 with one line.
proj="$(mktemp -d)"
check "add-to creates the project, prints as usual" "PicRx= 11.70115|0" \
    "$("$calc" --add-to "$proj/a.tvp" frmRx_DLDanZ CmbH=20 CmbHx=5)|$?"
check "add-to a two-button form, with a label" "PicRi= 28.45657|0" \
    "$("$calc" --add-to "$proj/a.tvp" --label "接地极" frmDZ_ChuiZhi CmbGg=0.05 Cmbρ=300 \
        CmbL1=2.5 CmbN=4 --press CmdRun_GP CmbL2=10 --press CmdRun_CJ | tail -1)|$?"
before="$(cat "$proj/a.tvp")"
check "add-to a refused press: exit 3" 3 "$(status "$calc" --add-to "$proj/a.tvp" frmRx_DLDanZ CmbH=40 CmbHx=5)"
check "add-to a refused press adds nothing" "$before" "$(cat "$proj/a.tvp")"
check "add-to json: the record's label added, the form's title without a number" "建筑物年预计雷击次数计算" \
    "$("$calc" --json --add-to "$proj/a.tvp" frmLJCS CmbTd=40 CmbL=50 CmbW=20 CmbH=30 | python3 -c 'import json,sys; print(json.load(sys.stdin)["label"])')"
check "project: each record's label and results" \
    $'独立单针保护范围计算\nPicRx= 11.70115\n\n接地极\nPicD= 0.042\nPicR= 104.5203\nPicRn= 34.84011\nPicRi= 28.45657\n\n建筑物年预计雷击次数计算\nPicN= 0.07844704' \
    "$("$calc" --project "$proj/a.tvp")"
check "project json: the usual objects with label and matches_saved" \
    '[["独立单针保护范围计算", true, " 11.70115"], ["接地极", true, " 28.45657"], ["建筑物年预计雷击次数计算", true, " 0.07844704"]]' \
    "$("$calc" --project "$proj/a.tvp" --json | python3 -c 'import json,sys; print(json.dumps([[o["label"], o["matches_saved"], list(o["results"].values())[-1]] for o in json.load(sys.stdin)], ensure_ascii=False))')"
sed 's/"value": "11.70115"/"value": "11.7"/' "$proj/a.tvp" >"$proj/changed.tvp"
check "project: a result that differs from the one saved" "结果与保存时不同：保存时 Rx = 11.7 m" \
    "$("$calc" --project "$proj/changed.tvp" | sed -n 3p)"
check "project json: matches_saved false, the saved value kept" "False 11.7" \
    "$("$calc" --project "$proj/changed.tvp" --json | python3 -c 'import json,sys; o=json.load(sys.stdin)[0]; print(o["matches_saved"], o["saved_results"][0]["value"])')"
check "project: a record keeps the edition it was computed by" "PicN= 0.1080805|" \
    "$("$calc" --edition 2010 --add-to "$proj/e.tvp" frmLJCS CmbTd=40 CmbL=50 CmbW=20 CmbH=30 >/dev/null
       "$calc" --project "$proj/e.tvp" | sed -n 2p)|$("$calc" --project "$proj/e.tvp" | grep 结果与保存时不同)"
check "project: --edition is the sheet's, each record keeps the one it was computed by" \
    "PicN= 0.1080805|1" \
    "$("$calc" --edition 1994 --project "$proj/e.tvp" --text | sed -n 2p)|$("$calc" --edition 1994 --project "$proj/e.tvp" --text | grep -c '规范版本 *GB 50057-94')"
printf '{"format": "tervalen-project", "version": 99}' >"$proj/new.tvp"
err="$("$calc" --project "$proj/new.tvp" 2>&1 >/dev/null)"
check "project of a newer version: exit 4, one line" "4|1|1" \
    "$?|$(wc -l <<<"$err" | tr -d ' ')|$(grep -c '由更新版本的 Tervalen 保存' <<<"$err")"
check "project missing: exit 4" 4 "$(status "$calc" --project "$proj/none.tvp")"
check "add-to an unreadable project: exit 4, unchanged" "4 $(cat "$proj/new.tvp")" \
    "$(status "$calc" --add-to "$proj/new.tvp" frmLJCS CmbTd=40 CmbL=50 CmbW=20 CmbH=30) $(cat "$proj/new.tvp")"
check "add-to a project that cannot be written: exit 4" 4 \
    "$(status "$calc" --add-to "$proj/none/a.tvp" frmLJCS CmbTd=40 CmbL=50 CmbW=20 CmbH=30)"
check "project takes no form" 2 "$(status "$calc" --project "$proj/a.tvp" frmLJCS)"
check "label without add-to" 2 "$(status "$calc" --label x frmLJCS)"
if [[ -n "$(command -v pdftotext)" ]] && ! "$calc" --pdf "$proj/probe.pdf" frmLJCS 2>&1 | grep -q 'has no Qt'; then
    "$calc" --project "$proj/changed.tvp" --pdf "$proj/sheet.pdf" >/dev/null 2>&1
    # Each record's heading once (the contents' and the summary's rows have more columns);
    # the difference in the summary's note and in the record's results.
    check "project pdf: every record, the difference marked" "3 2" \
        "$(pdftotext -layout "$proj/sheet.pdf" - | grep -cE '^ *[123] +(独立单针保护范围计算|接地极|建筑物年预计雷击次数计算) *$') $(pdftotext "$proj/sheet.pdf" - | grep -c '结果与保存时不同')"
fi
rm -rf "$proj"

if ((fails)); then echo "$fails failed"; exit 1; fi
echo "driver contract: all checks passed"

#!/usr/bin/env bash
# The driver's files: an export is written whole or not at all (a failure leaves the
# target byte for byte as it was, exit 3, one line saying why), never onto the project it
# reads; writers of one project take turns; a project read is a regular file, refused in
# one line with what it quotes escaped.
set -u
calc="$1"
fails=0
checks=0
check() {  # check NAME EXPECTED ACTUAL
    checks=$((checks + 1))
    if [[ "$2" != "$3" ]]; then
        printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
        fails=$((fails + 1))
    fi
}
dir="$(mktemp -d)"
cleanup() {
    mountpoint -q "$dir/small" 2>/dev/null && umount "$dir/small"
    chmod -R u+w "$dir" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT
# Qt's warning about a missing runtime folder would be a second line on stderr.
mkdir -m 0700 "$dir/run" && export XDG_RUNTIME_DIR="$dir/run"
press=(frmRx_DLDanZ CmbH=20 CmbHx=5)
noPdf=""
"$calc" --pdf "$dir/probe.pdf" "${press[@]}" 2>&1 | grep -q 'has no Qt' && noPdf=1
rm -f "$dir/probe.pdf"

# A file's bytes, mode and owner; what kind of thing it is, for anything else.
fingerprint() {
    if [[ -f "$1" && ! -L "$1" ]]; then
        echo "$(sha256sum <"$1") $(stat -c '%a %U %i' "$1")"
    else
        stat -c '%F %a %U %i' "$1" 2>/dev/null
    fi
}

# "STATUS LINES SAME": the exit status, the lines on stderr, whether the target is as it was.
failedExport() {  # failedExport TARGET ARGS...
    local target="$1" before after err rc
    shift
    before="$(fingerprint "$target")"
    err="$("$@" 2>&1 >/dev/null)"
    rc=$?
    after="$(fingerprint "$target")"
    echo "$rc $(wc -l <<<"$err" | tr -d ' ') $([[ "$before" == "$after" ]] && echo same || echo changed)"
}

for kind in pdf dxf svg; do
    [[ $kind == pdf && -n "$noPdf" ]] && continue
    printf 'old %s\n' "$kind" >"$dir/ro.$kind"
    chmod 0444 "$dir/ro.$kind"
    check "$kind onto a read-only file" "3 1 same" \
        "$(failedExport "$dir/ro.$kind" "$calc" --$kind "$dir/ro.$kind" "${press[@]}")"
    mkdir -p "$dir/folder.$kind"
    check "$kind onto a folder" "3 1 same" \
        "$(failedExport "$dir/folder.$kind" "$calc" --$kind "$dir/folder.$kind" "${press[@]}")"
    mkfifo "$dir/fifo.$kind"
    check "$kind onto a FIFO" "3 1 same" \
        "$(failedExport "$dir/fifo.$kind" timeout 20 "$calc" --$kind "$dir/fifo.$kind" "${press[@]}")"
    check "$kind says why" "tervalen-calc: 无法写入 $dir/ro.$kind：文件是只读的，未替换" \
        "$("$calc" --$kind "$dir/ro.$kind" "${press[@]}" 2>&1 >/dev/null)"
done
check "nothing left beside the targets" "" "$(ls -A "$dir" | grep '\.tmp$')"

# Another user's file in a folder anyone may write: refused, though the folder would let
# a rename replace it.
if [[ $(id -u) == 0 ]] && setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
    mkdir "$dir/shared" && chmod 0777 "$dir/shared"
    printf 'theirs\n' >"$dir/shared/old.dxf"
    chmod 0755 "$dir" "$calc" 2>/dev/null
    check "dxf onto another user's file" "3 1 same" \
        "$(failedExport "$dir/shared/old.dxf" setpriv --reuid=65534 --regid=65534 --clear-groups \
            "$calc" --dxf "$dir/shared/old.dxf" "${press[@]}")"
fi

# A full disk: a small file system (only where this may mount one).
mkdir "$dir/small"
if mount -t tmpfs -o size=256k tervalen-test "$dir/small" 2>/dev/null; then
    for kind in pdf dxf svg; do
        [[ $kind == pdf && -n "$noPdf" ]] && continue
        "$calc" --$kind "$dir/small/a.$kind" "${press[@]}" >/dev/null 2>&1
        check "$kind on a disk with room" 1 "$(ls "$dir/small" | grep -c "^a.$kind$")"
    done
    # Fill it up, leaving less room than any export needs.
    dd if=/dev/zero of="$dir/small/filler" bs=1k count=1024 2>/dev/null
    for kind in pdf dxf svg; do
        [[ $kind == pdf && -n "$noPdf" ]] && continue
        check "$kind on a full disk" "3 1 same" \
            "$(failedExport "$dir/small/a.$kind" "$calc" --$kind "$dir/small/a.$kind" "${press[@]}")"
    done
    check "full disk: nothing left beside" "" "$(ls -A "$dir/small" | grep '\.tmp$')"
    umount "$dir/small"
fi

# An export onto the project it reads or adds to: refused before anything is written.
"$calc" --add-to "$dir/p.tvp" "${press[@]}" >/dev/null
ln -s p.tvp "$dir/link.tvp"
check "pdf onto the project" "2 1 same" \
    "$(failedExport "$dir/p.tvp" "$calc" --project "$dir/p.tvp" --pdf "$dir/p.tvp")"
check "pdf onto the project through a link" "2 1 same" \
    "$(failedExport "$dir/p.tvp" "$calc" --project "$dir/link.tvp" --pdf "$dir/./p.tvp")"
check "dxf onto the project added to" "2 1 same" \
    "$(failedExport "$dir/p.tvp" "$calc" --add-to "$dir/p.tvp" --dxf "$dir/p.tvp" "${press[@]}")"
check "svg onto the project added to" "2 1 same" \
    "$(failedExport "$dir/p.tvp" "$calc" --add-to "$dir/link.tvp" --svg "$dir/p.tvp" "${press[@]}")"
check "two exports onto one file" "2 1" \
    "$(err="$("$calc" --dxf "$dir/x" --svg "$dir/x" "${press[@]}" 2>&1 >/dev/null)"; echo "$? $(wc -l <<<"$err")")"
check "two exports onto one file: none written" "" "$(ls "$dir" | grep '^x$')"

# Zero spacing leaves the range's coordinates without a number: no file is written.
for kind in dxf svg; do
    check "$kind of a drawing without numbers" "3 none" \
        "$("$calc" --$kind "$dir/nan.$kind" frmRx_DLSiZ CmbHr=100 CmbH=100 CmbHx=0 CmbL=0 >/dev/null 2>&1; echo $?) \
$([[ -e "$dir/nan.$kind" ]] && echo written || echo none)"
done

# Killed during a PDF export: the earlier export stays whole.
if [[ -z "$noPdf" ]] && command -v pdfinfo >/dev/null; then
    # Big enough for the kills to land while it is written.
    "$calc" --add-to "$dir/big.tvp" "${press[@]}" >/dev/null
    python3 -c 'import json,sys; p=json.load(open(sys.argv[1])); p["records"]*=40; json.dump(p, open(sys.argv[1], "w"))' "$dir/big.tvp"
    "$calc" --project "$dir/big.tvp" --pdf "$dir/big.pdf" >/dev/null
    sum="$(sha256sum <"$dir/big.pdf")"
    chmod 0640 "$dir/big.pdf"
    changed=0
    for delay in 0.05 0.1 0.15 0.2 0.3 0.4; do
        "$calc" --project "$dir/big.tvp" --pdf "$dir/big.pdf" >/dev/null 2>&1 &
        sleep "$delay"
        kill -9 $! 2>/dev/null
        wait $! 2>/dev/null
        # The old export, or a new one as whole as it (the same pages, another date at most).
        if [[ "$(sha256sum <"$dir/big.pdf")" != "$sum" ]]; then
            pdfinfo "$dir/big.pdf" >/dev/null 2>&1 || changed=$((changed + 1))
        fi
    done
    check "a kill during an export leaves a whole PDF" 0 "$changed"
    check "a finished export keeps the mode the old one had" 640 "$(stat -c %a "$dir/big.pdf")"
fi

# Twenty writers at once: every record kept, or a writer that gave up says so.
rm -f "$dir/c.tvp"
"$calc" --add-to "$dir/c.tvp" --label first "${press[@]}" >/dev/null
chmod 0664 "$dir/c.tvp"
pids=()
for i in $(seq 1 20); do
    "$calc" --add-to "$dir/c.tvp" --label "w$i" frmRx_DLDanZ CmbH=20 "CmbHx=$i" >/dev/null 2>"$dir/err$i" &
    pids+=($!)
done
ok=0
for pid in "${pids[@]}"; do wait "$pid" && ok=$((ok + 1)); done
records="$(python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))["records"]))' "$dir/c.tvp")"
check "20 parallel writers: every record kept" "21 20" "$records $((ok))"
check "parallel writers: the file's mode kept" 664 "$(stat -c %a "$dir/c.tvp")"
check "parallel writers: nothing left beside" "" "$(ls -A "$dir" | grep '\.tmp$')"

# A project that may not be changed, and one through a link to a file not made yet.
cp "$dir/p.tvp" "$dir/ro.tvp" && chmod 0444 "$dir/ro.tvp"
check "add-to a read-only project: exit 4, unchanged" "4 1 same" \
    "$(failedExport "$dir/ro.tvp" "$calc" --add-to "$dir/ro.tvp" "${press[@]}")"
ln -s sub/made.tvp "$dir/dangling.tvp" && mkdir "$dir/sub"
"$calc" --add-to "$dir/dangling.tvp" "${press[@]}" >/dev/null
check "add-to through a link to a missing file makes the file" "link 1" \
    "$([[ -L "$dir/dangling.tvp" ]] && echo link) $(grep -c '"label"' "$dir/sub/made.tvp")"
check "a refused press leaves no file made for it" "3 none" \
    "$("$calc" --add-to "$dir/never.tvp" frmRx_DLDanZ CmbH=40 CmbHx=5 >/dev/null 2>&1; echo $?) \
$([[ -e "$dir/never.tvp" ]] && echo made || echo none)"

# Projects that are not files, or that quote what a terminal would act on.
mkfifo "$dir/fifo.tvp"
check "project: a FIFO is refused at once" "4 1" \
    "$(err="$(timeout 20 "$calc" --project "$dir/fifo.tvp" 2>&1 >/dev/null)"; echo "$? $(wc -l <<<"$err")")"
check "project: /dev/zero is refused" "4 1" \
    "$(err="$(timeout 20 "$calc" --project /dev/zero 2>&1 >/dev/null)"; echo "$? $(wc -l <<<"$err")")"
python3 - "$dir/p.tvp" "$dir/evil.tvp" "$dir/label.tvp" <<'PY'
import json, sys
p = json.load(open(sys.argv[1]))
p["records"][0]["form"] = "x\n\x1b[2JPicRx= 99\r"
json.dump(p, open(sys.argv[2], "w"))
p = json.load(open(sys.argv[1]))
p["records"][0]["label"] = "屋面\nPicRx= 99\x1b[31m"
json.dump(p, open(sys.argv[3], "w"))
PY
err="$("$calc" --project "$dir/evil.tvp" 2>&1 >/dev/null)"
check "project error: one line, control characters escaped" \
    "1 “x\\n\\x1b[2JPicRx= 99\\r”" "$(wc -l <<<"$err") $(grep -o '“x[^”]*”' <<<"$err")"
check "project text: a label cannot forge a result line" \
    "屋面\\nPicRx= 99\\x1b[31m|PicRx= 11.70115" "$("$calc" --project "$dir/label.tvp" | paste -sd'|')"
# A 2.7 KB project of records that would each climb some 14 million steps (a 9 km sphere,
# Enter typed 15 times into a box, then the button): each stops at its budget, says so at
# every press and is kept as saved; the good record after them is computed as before.
python3 - "$dir/p.tvp" "$dir/climb.tvp" <<'PY'
import json, sys
p = json.load(open(sys.argv[1]))
climb = {"label": "", "form": "frmH_DLDanZ", "results": [], "working": [],
         "actions": ["CmbHr=9000", "CmbRxo=8999.9", "CmbHx=0",
                     "--type", "CmbRxo=" + "\r" * 15, "--press", "CmdRun"]}
p["records"] = [climb] * 10 + p["records"][:1]
json.dump(p, open(sys.argv[2], "w"), separators=(",", ":"))
PY
out="$("$calc" --project "$dir/climb.tvp")"
check "project: searches stopped at their budget, the good record computed" \
    "0 160 10 1" \
    "$? $(grep -c '^\[提示\] 高度搜索超过 200000 步的上限，未算完$' <<<"$out") \
$(grep -c '^结果与保存时不同：重新计算未得出结果' <<<"$out") $(grep -c '^PicRx= 11.70115$' <<<"$out")"
check "project: the stopped records in JSON" "false false true" \
    "$("$calc" --project "$dir/climb.tvp" --json | python3 -c '
import json, sys
r = json.load(sys.stdin)
print(str(r[0]["matches_saved"]).lower(), str(r[9]["matches_saved"]).lower(),
      str(r[10]["matches_saved"]).lower())')"
check "an argument's newline stays on the error's line" 1 \
    "$("$calc" frmRx_DLDanZ $'Cmb\nQ=1' 2>&1 >/dev/null | wc -l | tr -d ' ')"

if ((fails)); then echo "$fails failed"; exit 1; fi
echo "driver files: all $checks checks passed"

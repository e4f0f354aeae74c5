#!/usr/bin/env bash
# End-to-end tests of pagora-cli: runs the built tool on files made in a temporary folder.
# usage: cli_test.sh PAGORA_CLI GROUP [DUMP_FIXTURE]
#   GROUP: roundtrip, codepage, errors, usage, dump, kinds (which runs DUMP_FIXTURE, the
#   program that dumps a document holding every kind of item), pgf, or render (which
#   formats and paints README_PGF, the read-me document).
# PYTHON names the interpreter that checks the JSON (python3 when unset).
set -uo pipefail

cli=$1
group=$2
fixture=${3:-}
python=${PYTHON:-python3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Runs the tool; its output goes to $work/stdout and $work/stderr, its exit status to $status.
run() {
  "$cli" "$@" >"$work/stdout" 2>"$work/stderr"
  status=$?
}

# expect_status WANT DESCRIPTION: checks the status of the last run.
expect_status() {
  if [ "$status" -ne "$1" ]; then
    fail "$2: exit status $status, expected $1; stderr: $(cat "$work/stderr")"
    return 1
  fi
}

expect_stderr_has() {
  grep -qF -- "$1" "$work/stderr" || fail "$2: stderr lacks '$1': $(cat "$work/stderr")"
}

expect_same_bytes() {
  cmp -s "$1" "$2" || fail "$3: $(basename "$2") differs from $(basename "$1"): $(od -An -tx1 "$2" | head -5)"
}

# Latin with accents, Cyrillic, CJK and an emoji (a surrogate pair in UTF-16); lines end
# in CR LF, as the tool writes them, and one line is empty.
multilingual=$'Grüße, café naïve\r\nПривет, мир\r\n\r\n日本語と中文 😀 end'

test_roundtrip() {
  printf '%s' "$multilingual" >"$work/original.txt"

  run convert "$work/original.txt" "$work/mid.u16" --to utf16
  expect_status 0 "UTF-8 to UTF-16" || return
  [ "$(head -c 2 "$work/mid.u16" | od -An -tx1 | tr -d " ")" = "fffe" ] || fail "UTF-16 output does not start with FF FE"
  printf '%s' "$multilingual" | iconv -f UTF-8 -t UTF-16LE >"$work/expected.u16"
  cmp -s <(tail -c +3 "$work/mid.u16") "$work/expected.u16" || fail "UTF-16 output is not the text in UTF-16LE"

  run convert "$work/mid.u16" "$work/back.out" --from utf16 --to utf8
  expect_status 0 "UTF-16 to UTF-8" || return
  expect_same_bytes "$work/original.txt" "$work/back.out" "UTF-8 -> UTF-16 -> UTF-8"

  # A .txt file is read in the encoding found in it: a big-endian UTF-16 file too.
  { printf '\xfe\xff'; printf '%s' "$multilingual" | iconv -f UTF-8 -t UTF-16BE; } >"$work/be.txt"
  run convert "$work/be.txt" "$work/from-be.out" --to utf8
  expect_status 0 "big-endian UTF-16 .txt to UTF-8" || return
  expect_same_bytes "$work/original.txt" "$work/from-be.out" "big-endian UTF-16 -> UTF-8"
}

test_codepage() {
  # name | input bytes (printf format) | options | expected output bytes (printf format) |
  # what stderr says (empty: nothing)
  local cases=(
    "cp1251 detected in .txt|\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0|--codepage 1251 --to utf8|Привет, мир|"
    "cp1251 named with --from|\xcf\xf0\xe8\xe2\xe5\xf2|--from text --codepage=1251 --to utf8|Привет|"
    "1252 without --codepage|caf\xe9 \x80|--to utf8|café €|"
    "UTF-8 to cp1251 output|Привет, мир|--codepage 1251|\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0|"
    "characters the code page lacks|мир 日本 é|--to text|??? ?? \xe9|code page 1252 lacks"
  )
  local entry name input options expected message
  for entry in "${cases[@]}"; do
    IFS='|' read -r name input options expected message <<<"$entry"
    # shellcheck disable=SC2059  # the fixtures are printf formats on purpose
    printf "$input" >"$work/in.txt"
    # shellcheck disable=SC2059
    printf "$expected" >"$work/expected"
    rm -f "$work/out.txt"
    # shellcheck disable=SC2086  # options split into words
    run convert "$work/in.txt" "$work/out.txt" $options
    expect_status 0 "$name" || continue
    expect_same_bytes "$work/expected" "$work/out.txt" "$name"
    if [ -n "$message" ]; then
      expect_stderr_has "$message" "$name"
    elif [ -s "$work/stderr" ]; then
      fail "$name: unexpected stderr: $(cat "$work/stderr")"
    fi
  done
}

test_errors() {
  run convert "$work/missing.txt" "$work/out.txt"
  expect_status 1 "missing input"
  expect_stderr_has "cannot read '$work/missing.txt': No such file or directory" "missing input"
  [ ! -e "$work/out.txt" ] || fail "missing input: an output file was written"

  printf 'text' >"$work/in.txt"
  run convert "$work/in.txt" "$work/no-such-dir/out.txt"
  expect_status 1 "output in a missing folder"
  expect_stderr_has "cannot write '$work/no-such-dir/out.txt'" "output in a missing folder"

  # A UTF-16 file cut in the middle of a code unit, found by its mark and named with --from.
  printf '\xff\xfeA\x00B' >"$work/odd.txt"
  local from
  for from in "" "--from utf16"; do
    rm -f "$work/out.txt"
    # shellcheck disable=SC2086
    run convert "$work/odd.txt" "$work/out.txt" $from
    expect_status 1 "truncated UTF-16 ${from:-detected}"
    expect_stderr_has "cannot read '$work/odd.txt'" "truncated UTF-16 ${from:-detected}"
    expect_stderr_has "odd number of bytes" "truncated UTF-16 ${from:-detected}"
    [ ! -e "$work/out.txt" ] || fail "truncated UTF-16: an output file was written"
  done
  run dump "$work/odd.txt"
  expect_status 1 "dump of truncated UTF-16"
  [ ! -s "$work/stdout" ] || fail "dump of truncated UTF-16 wrote to stdout"

  run dump "$work/missing.txt"
  expect_status 1 "dump of a missing file"
  expect_stderr_has "'$work/missing.txt'" "dump of a missing file"
}

test_usage() {
  printf 'text' >"$work/in.txt"
  local cases=(
    "no arguments|"
    "unknown command|frobnicate $work/in.txt"
    "convert without output|convert $work/in.txt"
    "dump with two files|dump $work/in.txt $work/other.txt"
    "input extension unknown|convert $work/in.doc $work/out.txt"
    "output extension unknown|convert $work/in.txt $work/out.doc"
    "unknown format name|convert $work/in.txt $work/out.txt --to rtf"
    "option without value|convert $work/in.txt $work/out.txt --from"
    "code page not a number|convert $work/in.txt $work/out.txt --codepage abc"
    "code page not available|convert $work/in.txt $work/out.txt --codepage 99999"
    "negative code page|dump $work/in.txt --codepage -1"
    "--to for dump|dump $work/in.txt --to utf8"
    "unknown option|convert $work/in.txt $work/out.txt --force"
  )
  local entry name args
  for entry in "${cases[@]}"; do
    IFS='|' read -r name args <<<"$entry"
    # shellcheck disable=SC2086
    run $args
    expect_status 2 "$name" || continue
    expect_stderr_has "usage: pagora-cli" "$name"
    if [ -e "$work/out.txt" ] || [ -e "$work/out.doc" ]; then fail "$name: an output file was written"; fi
  done

  run --help
  expect_status 0 "--help"
  grep -qF "usage: pagora-cli" "$work/stdout" || fail "--help prints no usage on stdout"
}

# check_json DESCRIPTION PYTHON-CODE: parses the last run's stdout strictly (UTF-8, no
# control characters in strings, no repeated keys) as `doc` and runs the checks in it.
check_json() {
  local what=$1 checks=$2 problems
  if ! command -v "$python" >/dev/null; then
    fail "$what: no Python interpreter ('$python') to check the JSON"
    return
  fi
  if ! problems=$("$python" - "$work/stdout" "$checks" 2>&1 <<'PY'
import json, sys

def no_repeats(pairs):
    keys = [k for k, _ in pairs]
    dup = {k for k in keys if keys.count(k) > 1}
    if dup:
        raise ValueError("repeated keys %s" % sorted(dup))
    return dict(pairs)

with open(sys.argv[1], "rb") as f:
    doc = json.loads(f.read().decode("utf-8"), object_pairs_hook=no_repeats)
problems = []
def expect(cond, what):
    if not cond:
        problems.append(what)
exec(sys.argv[2])
print("\n".join(problems))
sys.exit(1 if problems else 0)
PY
  ); then
    fail "$what: ${problems:-the checker could not run}"
  fi
}

test_dump() {
  printf 'First line\r\nВторая строка\r\n\r\n中文 😀' >"$work/small.txt"
  run dump "$work/small.txt"
  expect_status 0 "dump of a small file" || return
  check_json "dump of a small file" '
texts = [i["Text"] for i in doc["items"]]
expect(texts == ["First line", "Вторая строка", "", "中文 😀"], "item texts %r" % texts)
expect(len(doc["textStyles"]) == 6, "%d text styles" % len(doc["textStyles"]))
expect(all(s["Unicode"] for s in doc["textStyles"]), "a text style is not Unicode")
expect([s["StyleName"] for s in doc["paraStyles"]] == ["Paragraph Style", "Centered"], "paragraph styles")
expect(doc["paraStyles"][1]["Alignment"] == "pgaCenter", "alignment of Centered")
expect(doc["paraStyles"][0]["Border"]["Style"] == "pgbNone", "border style")
expect(doc["textStyles"][1]["Style"] == ["fsBold"] and doc["textStyles"][1]["Color"] == 0xFF0000, "Heading")
expect(doc["textStyles"][0]["Color"] == 0xFF000008, "colours are integers")
expect(doc["listStyles"] == [], "list styles")
first = doc["items"][0]
expect(first["Kind"] == "TPGTextItemInfo" and first["StyleNo"] == 0 and first["ParaNo"] == 0, "first item")
expect(first["Flags"] == ["pgifUnicode"], "flags %r" % first["Flags"])
expect(first["Tag"] is None and first["Checkpoint"] is None and "Hint" not in first, "empty tag and checkpoint")
'

  # Text that JSON must escape: quotes, a backslash, control characters.
  printf 'say "hi" \\ back\x01\x1f\x7f\vnext' >"$work/escapes.txt"
  run dump "$work/escapes.txt" --from utf8
  expect_status 0 "dump of text with control characters" || return
  check_json "dump of text with control characters" '
texts = [i["Text"] for i in doc["items"]]
expect(texts == ["say \"hi\" \\ back\x01\x1f\x7f", "next"], "item texts %r" % texts)
expect(doc["items"][1]["Flags"] == ["pgifLineBreakBefore", "pgifUnicode"], "line break flags")
'

  # Ill-formed UTF-8 read as UTF-8 becomes U+FFFD; the same bytes in a .txt are 8-bit 1252.
  printf 'a\xffb\xc3' >"$work/bad.txt"
  run dump "$work/bad.txt" --from utf8
  expect_status 0 "dump of ill-formed UTF-8" || return
  check_json "dump of ill-formed UTF-8" 'expect([i["Text"] for i in doc["items"]] == ["a\ufffdb\ufffd"], "replacement")'
  run dump "$work/bad.txt"
  expect_status 0 "dump of 8-bit text" || return
  check_json "dump of 8-bit text" 'expect([i["Text"] for i in doc["items"]] == ["a\u00ffb\u00c3"], "1252 text")'
}

test_kinds() {
  if [ ! -x "$fixture" ]; then
    fail "the dump fixture program '$fixture' is missing (build the target cli_dump_fixture)"
    return
  fi
  "$fixture" >"$work/stdout" 2>"$work/stderr"
  status=$?
  expect_status 0 "dump fixture" || return
  check_json "dump of every kind of item" '
items = doc["items"]
kinds = [(i["Kind"], i["StyleNo"]) for i in items]
expect(kinds == [("TPGTextItemInfo", 0), ("TPGTextItemInfo", 6), ("TPGBreakItemInfo", -1),
                 ("TPGGraphicItemInfo", -3), ("TPGHotGraphicItemInfo", -10), ("TPGBulletItemInfo", -6),
                 ("TPGHotspotItemInfo", -4), ("TPGControlItemInfo", -5), ("TPGTextItemInfo", 0)], "kinds %r" % kinds)
first = items[0]
expect(first["Text"] == "Plain" and first["Tag"] == "note" and first["Flags"] == [], "first item %r" % first)
expect(first["Checkpoint"] == {"Name": "start", "RaiseEvent": True, "Persistent": True, "Tag": 7}, "checkpoint")
expect(first["Hint"] == "tip \"quoted\"\t\x01", "hint %r" % first.get("Hint"))
cyr = items[1]
expect(cyr["Text"] == "При" and cyr["Tag"] == 42 and cyr["Flags"] == ["pgifContinuesPara"], "8-bit item %r" % cyr)
brk = items[2]
expect((brk["Width"], brk["Style"], brk["Color"], brk["Text"]) == (3, 1, 0x0000FF, ""), "break %r" % brk)
pic = items[3]
expect(pic["Picture"] == {"Class": "TFakeGraphic", "Width": 16, "Height": 8, "Bytes": 5}, "picture %r" % pic)
expect((pic["ShownWidth"], pic["ShownHeight"], pic["VAlign"], pic["Spacing"]) == (32, 0, "pgvaMiddle", 1), "shown size")
expect((pic["Alt"], pic["FileName"], pic["Text"]) == ("a picture", "pic.png", "pic"), "picture strings")
expect("Picture" not in items[4] and items[4]["Alt"] == "", "hot picture without image %r" % items[4])
expect((items[5]["ImageList"], items[5]["ImageIndex"]) == (5, 2) and "HoverImageIndex" not in items[5], "bullet")
expect((items[6]["ImageIndex"], items[6]["HoverImageIndex"]) == (1, 3), "hot spot %r" % items[6])
ctl = items[7]
expect((ctl["Class"], ctl["WidthPercent"], ctl["Resizable"]) == ("TButton", 0, False), "control %r" % ctl)
expect(items[8]["Text"].endswith("\ufffd"), "odd UTF-16 text %r" % items[8]["Text"])
expect(all("Hint" not in i for i in items[1:]), "empty hints are left out")

ts = doc["textStyles"]
expect(len(ts) == 7 and ts[0]["StyleName"] == "Bad \ufffd name", "ill-formed name %r" % ts[0]["StyleName"])
expect(ts[6]["Protection"] == ["pgprStyleProtect", "pgprStickToBottom"], "protection %r" % ts[6]["Protection"])
expect((ts[6]["Charset"], ts[6]["Unicode"]) == (204, False), "charset")
lists = doc["listStyles"]
expect([l["ListID"] for l in lists] == [12345, None], "list identifiers")
bullet, number = lists[0]["Levels"]
expect((bullet["FormatString"], bullet["FormatStringW"], bullet["ListType"]) == ("\u00b7", "\u2605", "pglstBullet"),
       "bullet level %r" % bullet)
expect(bullet["Font"] == {"Name": "Arial", "Size": 12, "Color": 0xFF000008, "Style": [], "Charset": 1}, "font")
expect(bullet["Options"] == ["pgloContinuous", "pgloLevelReset"], "level options")
expect(number["ListType"] == "pglstDecimal" and "Font" not in number, "numbered level %r" % number)
expect(number["Options"] == ["pgloLegalStyleNumbering"] and number["FormatString"] == "%0:s.", "numbered level")
'
}

test_pgf() {
  printf '%s' "$multilingual" >"$work/original.txt"
  # Text to the native format and back loses nothing, in either form.
  for form in pgf pgf-binary; do
    run convert "$work/original.txt" "$work/doc.$form" --to "$form"
    expect_status 0 "text to $form" || return
    run convert "$work/doc.$form" "$work/back-$form.txt" --from pgf --to utf8
    expect_status 0 "$form to text" || return
    expect_same_bytes "$work/original.txt" "$work/back-$form.txt" "text -> $form -> text"
  done
  head -c 3 "$work/doc.pgf" | grep -q -- "-8 " || fail "a .pgf file starts with the version record"
  # Text form -> binary -> text gives the same bytes again.
  run convert "$work/doc.pgf" "$work/again.pgf-binary" --from pgf --to pgf-binary
  expect_status 0 "text form to binary form" || return
  run convert "$work/again.pgf-binary" "$work/again.pgf" --from pgf
  expect_status 0 "binary form to text form" || return
  expect_same_bytes "$work/doc.pgf" "$work/again.pgf" "pgf -> pgf-binary -> pgf"
  # Broken data: a clear message, no output file.
  head -n -1 "$work/doc.pgf" >"$work/truncated.pgf"  # the last line of a record is missing
  run convert "$work/truncated.pgf" "$work/out.txt" --to utf8
  expect_status 1 "truncated native data" || return
  expect_stderr_has "truncated.pgf" "truncated native data"
  [ ! -e "$work/out.txt" ] || fail "a failed read still wrote output"
}

# json_field FILE NAME: a number from a JSON object.
json_field() {
  "$python" -c 'import json,sys; print(json.load(open(sys.argv[1]))[sys.argv[2]])' "$1" "$2"
}

test_render() {
  local readme=${README_PGF:?README_PGF names the read-me document}
  run layout "$readme"
  expect_status 0 "layout of the read-me" || return
  cp "$work/stdout" "$work/layout.json"
  local height lines
  height=$(json_field "$work/layout.json" height) || { fail "layout output is not JSON: $(cat "$work/layout.json")"; return; }
  lines=$(json_field "$work/layout.json" lines)
  [ "$(json_field "$work/layout.json" width)" = 600 ] || fail "the default width is not 600"
  [ "$lines" -gt 20 ] || fail "the read-me has only $lines lines at 600 pixels"

  run render "$readme" "$work/readme.png"
  expect_status 0 "render of the read-me" || return
  "$python" "$(dirname "$0")/png_summary.py" "$work/readme.png" >"$work/png.json" || { fail "the picture is no PNG"; return; }
  [ "$(json_field "$work/png.json" width)" = 600 ] || fail "the picture is not 600 pixels wide: $(cat "$work/png.json")"
  [ "$(json_field "$work/png.json" height)" = "$height" ] || fail "the picture is not as tall as the layout says ($height): $(cat "$work/png.json")"
  # Not blank: text covers a good part of it, in many shades, with the blue of the headings.
  "$python" -c 'import json,sys; s=json.load(open(sys.argv[1])); sys.exit(0 if s["inked"] > 0.05 and s["colours"] > 50 and s["blue"] > 500 else 1)' \
    "$work/png.json" || fail "the picture looks blank: $(cat "$work/png.json")"

  # Narrower means more lines and a taller document.
  run layout "$readme" --width 300
  expect_status 0 "layout at 300 pixels" || return
  cp "$work/stdout" "$work/narrow.json"
  [ "$(json_field "$work/narrow.json" lines)" -gt "$lines" ] || fail "300 pixels do not need more lines than 600"
  [ "$(json_field "$work/narrow.json" height)" -gt "$height" ] || fail "300 pixels are not taller than 600"

  # Bad widths are bad usage; a file that cannot be read leaves no picture.
  local width
  for width in 0 -5 abc 100001; do
    run render "$readme" "$work/bad.png" --width "$width"
    expect_status 2 "--width $width"
  done
  printf 'not a document' >"$work/broken.pgf"
  run render "$work/broken.pgf" "$work/broken.png"
  expect_status 1 "rendering a broken document"
  [ ! -e "$work/broken.png" ] || fail "a failed render still wrote a picture"
  [ ! -s "$work/stderr" ] || grep -q "broken.pgf" "$work/stderr" || fail "the message does not name the file: $(cat "$work/stderr")"
}

case "$group" in
  roundtrip | codepage | errors | usage | dump | kinds | pgf | render) "test_$group" ;;
  *)
    echo "unknown test group '$group'" >&2
    exit 2
    ;;
esac

if [ "$failures" -ne 0 ]; then
  echo "$group: $failures check(s) failed" >&2
  exit 1
fi

#!/usr/bin/env bash
# The read-me document: the checked-in copy is what its source makes, it loads, and it
# holds what a new user is promised (headings, both kinds of list, the logo, links).
# usage: readme_test.sh MAKE_README PAGORA_CLI SOURCE CHECKED_IN
set -uo pipefail
make_readme=$1 cli=$2 source=$3 checked_in=$4
python=${PYTHON:-python3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$make_readme" "$source" "$work/readme.pgf" || { echo "FAIL: make-readme failed"; exit 1; }
if ! cmp -s "$work/readme.pgf" "$checked_in"; then
  echo "FAIL: app/resources/readme.pgf is not what its source makes; run make-readme again"
  exit 1
fi
"$cli" dump "$checked_in" > "$work/dump.json" || { echo "FAIL: the read-me does not load"; exit 1; }
"$python" - "$work/dump.json" <<'PY' || exit 1
import json, sys
d = json.load(open(sys.argv[1]))
items = d["items"]
texts = [i["Text"] for i in items]
def need(cond, what):
    if not cond:
        print("FAIL:", what); sys.exit(1)
need(texts[0] == "Welcome to Pagora", "the title comes first")
need(any(i["Kind"] == "TPGGraphicItemInfo" and i["Picture"]["Width"] == 72 for i in items), "the logo")
markers = [i for i in items if i["Kind"] == "TPGMarkerItemInfo"]
need([m["MarkerText"] for m in markers if m["ListStyleNo"] == 0] == ["1.", "2.", "3.", "4."], "a numbered list 1. to 4.")
need(sum(1 for m in markers if m["ListStyleNo"] == 1) >= 5, "a bulleted list")
links = [i for i in items if i["StyleNo"] == 4]
need(len(links) == 2 and links[0]["Tag"].startswith("https://"), "links with their addresses")
need(any("Ctrl+S" in t for t in texts), "the keyboard shortcuts")
need(any("日本語" in t for t in texts), "text in other scripts")
PY
echo "readme ok"

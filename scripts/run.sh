#!/usr/bin/env bash
# Installs what is missing, builds Pagora and starts it. Until the word processor's window
# exists, this shows the program's read-me document: in the viewer when there is a desktop,
# else through the command-line tool (its text, its layout, and the document painted as a
# picture).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPAGORA_BUILD_TESTS=OFF -DPAGORA_BUILD_BENCH=OFF
cmake --build build/release -j "$(nproc)" --target pagora-cli viewer readme_pgf

readme=build/release/app/readme.pgf
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "== Showing $readme in the viewer (Ctrl+Q quits)"
  exec build/release/examples/viewer/viewer "$readme"
fi

cli=build/release/tools/pagora-cli/pagora-cli
picture=build/release/readme.png
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$cli" convert "$readme" "$out/readme.txt" --to utf8
echo "== The read-me document's text:"
cat "$out/readme.txt"
echo
echo "== Formatted 600 pixels wide:"
"$cli" layout "$readme" --width 600
"$cli" render "$readme" "$picture" --width 600
echo "== Painted: $picture"

#!/usr/bin/env bash
# Installs what is missing, builds Pagora and starts it. Until the word processor's window
# exists, this shows the program's read-me document through the command-line tool: its
# text, its layout, and the document painted as a picture.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPAGORA_BUILD_TESTS=OFF -DPAGORA_BUILD_BENCH=OFF
cmake --build build/release -j "$(nproc)" --target pagora-cli readme_pgf

cli=build/release/tools/pagora-cli/pagora-cli
readme=build/release/app/readme.pgf
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
# With a desktop, show the picture.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && command -v xdg-open >/dev/null; then
  xdg-open "$picture" >/dev/null 2>&1 &
fi

#!/usr/bin/env bash
# Installs what is missing, builds Pagora and starts it. Until the word processor's window
# exists, this shows the program's read-me document through the command-line tool: the
# document as the library holds it, then its text.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPAGORA_BUILD_TESTS=OFF -DPAGORA_BUILD_BENCH=OFF
cmake --build build/release -j "$(nproc)" --target pagora-cli readme_pgf

cli=build/release/tools/pagora-cli/pagora-cli
readme=build/release/app/readme.pgf
out=$(mktemp -d)
echo "== The read-me document as the library holds it ($readme):"
"$cli" dump "$readme"
"$cli" convert "$readme" "$out/readme.txt" --to utf8
echo "== Its text:"
cat "$out/readme.txt"
echo

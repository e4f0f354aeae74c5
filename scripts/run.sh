#!/usr/bin/env bash
# Installs what is missing, builds Pagora and starts it. Until the word processor's window
# exists, this shows the bundled sample document through the command-line tool: it
# converts it to UTF-16 and prints the document as the library holds it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPAGORA_BUILD_TESTS=OFF -DPAGORA_BUILD_BENCH=OFF
cmake --build build/release -j "$(nproc)" --target pagora-cli

cli=build/release/tools/pagora-cli/pagora-cli
out=$(mktemp -d)
"$cli" convert samples/welcome.txt "$out/welcome-utf16.txt" --to utf16
echo "Converted samples/welcome.txt to UTF-16: $out/welcome-utf16.txt ($(stat -c %s "$out/welcome-utf16.txt") bytes)"
echo "The document as the library holds it:"
"$cli" dump "$out/welcome-utf16.txt"

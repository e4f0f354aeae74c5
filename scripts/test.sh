#!/usr/bin/env bash
# Installs what is missing, builds everything with the address and undefined-behaviour
# sanitizers, runs every test through CTest, then builds the fuzz targets with clang and
# runs each briefly on its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPAGORA_SANITIZE=ON -DPAGORA_WERROR=ON
cmake --build build/asan -j "$jobs"
ctest --test-dir build/asan --output-on-failure -j "$jobs"

CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGORA_FUZZ=ON
cmake --build build/fuzz -j "$jobs"
./scripts/fuzz-smoke.sh build/fuzz 10

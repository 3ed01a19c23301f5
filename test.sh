#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test (native and
# Wine): the Wine suite in every mode this machine runs (wow64 and win32 where
# it executes 32-bit code, else win64; VARNEK_WINE_MODE picks one), then one
# line per mode saying what ran.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)"
rm -rf build/wine/results
status=0
ctest --test-dir build --output-on-failure -j2 "$@" || status=$?
VARNEK_BUILD_DIR=$PWD/build python3 tests/wine/mode_runner.py summary
exit $status

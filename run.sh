#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs the main job: the
# installer in a throwaway Wine prefix (see README.md).
#   ./run.sh               build, install, print what was installed
#   ./run.sh --uninstall   the same, then uninstall and print what is left
#   ./run.sh --build-only  build and say where the installers are
# VARNEK_WINE_MODE=wow64|win32|win64 picks the Wine mode of the main job
# (default: win32 where this machine runs 32-bit code, else win64).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)"
vendor=$(sed -n 's/^VARNEK_VENDOR_DIR:[A-Z]*=//p' build/CMakeCache.txt)
if [[ -n "$vendor" ]]; then
    echo "Product (from $vendor): $(pwd)/dist/VarnekPrinterSetup.exe and $(pwd)/dist/Uninstaller.exe"
else
    echo "No product built: dist/ is made only from the vendor's files (cmake -S . -B build -DVARNEK_VENDOR_DIR=...)."
fi
echo "Stand-in installers for the tests and the main job, one per Wine mode:"
echo "  wow64: $(pwd)/build/win32/installer-wow64/VarnekPrinterSetup.exe (i686, x64 stand-ins: the shipped configuration)"
echo "  win32: $(pwd)/build/win32/installer/VarnekPrinterSetup.exe (i686, i686 stand-ins)"
echo "  win64: $(pwd)/build/win64/installer/VarnekPrinterSetup.exe (x86_64, x64 stand-ins)"
[[ "${1:-}" == "--build-only" ]] && exit 0
exec python3 scripts/main_job.py "$@"

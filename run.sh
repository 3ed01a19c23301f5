#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs the main job: the
# installer in a throwaway Wine prefix (see README.md).
#   ./run.sh               build, install, print what was installed
#   ./run.sh --uninstall   the same, then uninstall and print what is left
#   ./run.sh --build-only  build dist/ and stop
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)"
echo "Installer: $(pwd)/dist/VarnekPrinterSetup.exe"
echo "Uninstaller: $(pwd)/dist/Uninstaller.exe"
[[ "${1:-}" == "--build-only" ]] && exit 0
exec python3 scripts/main_job.py "$@"

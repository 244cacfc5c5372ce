#!/usr/bin/env bash
# Installs what is needed, builds the installer and starts it on its embedded sample catalogue.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target DbInstaller
exec build/default/DbInstaller "$@"

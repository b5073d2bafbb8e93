#!/usr/bin/env bash
# Configures and builds the project in build/ (Release with debug info).
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
bash "$raiz/scripts/instalar.sh"
cmake -S "$raiz" -B "$raiz/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$raiz/build" --parallel "$(nproc)"

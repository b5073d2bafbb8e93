#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under ctest on Qt's offscreen platform.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
bash "$raiz/scripts/compilar.sh"

export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

cd "$raiz/build"
ctest --output-on-failure --timeout 600 "$@"

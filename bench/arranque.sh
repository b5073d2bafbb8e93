#!/usr/bin/env bash
# Time from process start to the window shown, and the peak resident memory then, on the
# embedded demo company (offscreen platform). Run after a build: bash bench/arranque.sh [N]
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
app="$raiz/build/src/app"
[ -f "$app/demo/EMPRESA_DEMO.db" ] || "$raiz/build/tools/prorrata-empresa" "$app/demo" >/dev/null
veces="${1:-10}"
export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d)"; chmod 700 "$XDG_RUNTIME_DIR"; export XDG_RUNTIME_DIR
for _ in $(seq "$veces"); do
  inicio=$(date +%s%3N)
  salida=$("$app/prorrata" --medir-arranque "@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;")
  ventana=$(echo "$salida" | sed -n 's/^ventana \([0-9]*\).*/\1/p')
  memoria=$(echo "$salida" | sed -n 's/.*memoria maxima \([0-9]*\) KB/\1/p')
  echo "$((ventana - inicio)) $memoria"
done | sort -n | awk '{ t[NR]=$1; m+=$2 } END { printf "arranque: mediana %d ms (min %d, max %d) en %d corridas; memoria maxima media %.1f MB\n", t[int((NR+1)/2)], t[1], t[NR], NR, m/NR/1024 }'
rm -rf "$XDG_RUNTIME_DIR"

#!/usr/bin/env bash
# Time from process start to the window shown, and the peak resident memory then: the editor
# on the embedded demo company beside an empty Qt Widgets main window (bench/ventana_vacia),
# run in turns, pair by pair (offscreen platform). Run after a build: bash bench/arranque.sh [N]
# (N pairs, 15 unless told; one pair first is not counted).
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
app="$raiz/build/src/app"
vacia="$raiz/build/bench/ventana_vacia"
[ -f "$app/demo/EMPRESA_DEMO.db" ] || "$raiz/build/tools/prorrata-empresa" "$app/demo" >/dev/null
veces="${1:-15}"
export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d)"; chmod 700 "$XDG_RUNTIME_DIR"; export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

# Milliseconds from start to the window and the peak memory in KB of one run.
medir() {
  local inicio salida ventana memoria
  inicio=$(date +%s%3N)
  salida=$("$@")
  ventana=$(echo "$salida" | sed -n 's/^ventana \([0-9]*\).*/\1/p')
  memoria=$(echo "$salida" | sed -n 's/.*memoria maxima \([0-9]*\) KB/\1/p')
  echo "$((ventana - inicio)) $memoria"
}

medir "$vacia" >/dev/null
medir "$app/prorrata" --medir-arranque "@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;" >/dev/null
for _ in $(seq "$veces"); do
  read -r tv mv < <(medir "$vacia")
  read -r te me < <(medir "$app/prorrata" --medir-arranque "@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;")
  echo "$te $me $tv $mv"
done | awk '
  function mediana(v, n,   i, j, t) { for (i = 2; i <= n; i++) { t = v[i]; for (j = i - 1; j > 0 && v[j] > t; j--) v[j + 1] = v[j]; v[j + 1] = t }
                                      return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2 }
  { e[NR] = $1; em[NR] = $2; v[NR] = $3; vm[NR] = $4; r[NR] = $1 / ($3 > 0 ? $3 : 1) }
  END {
    n = NR; for (i = 1; i <= n; i++) { e2[i] = e[i]; v2[i] = v[i] }
    me = mediana(e, n); mv = mediana(v, n); mr = mediana(r, n)
    mine = e2[1]; minv = v2[1]; for (i = 2; i <= n; i++) { if (e2[i] < mine) mine = e2[i]; if (v2[i] < minv) minv = v2[i] }
    printf "arranque del editor: mediana %.1f ms (min %d); ventana vacia: mediana %.1f ms (min %d); razon por pares: mediana %.2fx (%d pares)\n", me, mine, mv, minv, mr, n
    printf "memoria maxima: editor %.1f MB, ventana vacia %.1f MB (medianas)\n", mediana(em, n) / 1024, mediana(vm, n) / 1024
  }'

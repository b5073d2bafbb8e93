#!/usr/bin/env bash
# The SQL console printing every account of a 100,000-account company, whole process, beside
# the sqlite3 shell printing the same rows tab-separated (apt-get install sqlite3). Run after a
# build: bash bench/consola.sh [N]
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
veces="${1:-10}"
carpeta="$(mktemp -d)"
trap 'rm -rf "$carpeta"' EXIT
"$raiz/build/tools/prorrata-empresa" "$carpeta" --cuentas 100000 >/dev/null
export VL_SERVIDORES="$carpeta/servidores.ini"
medir() { # prints milliseconds per run, sorted
  for _ in $(seq "$veces"); do
    inicio=$(date +%s%N)
    "$@" >/dev/null
    echo $((($(date +%s%N) - inicio) / 1000000))
  done | sort -n
}
resumen() { awk -v q="$1" '{ t[NR]=$1 } END { printf "%s: min %d ms, mediana %d ms (%d corridas)\n", q, t[1], t[int((NR+1)/2)], NR }'; }
medir "$raiz/build/src/app/prorrata-sql" "@Server=DEMO; @DbName=EMPRESA_DEMO;" "SELECT * FROM MA_CUENTAS" | resumen "prorrata-sql"
medir sqlite3 -separator "$(printf '\t')" "$carpeta/EMPRESA_DEMO.db" "SELECT * FROM MA_CUENTAS" | resumen "sqlite3     "

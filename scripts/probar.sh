#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under ctest on Qt's offscreen platform.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
bash "$raiz/scripts/compilar.sh"

export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR

# A throw-away PostgreSQL cluster: the data-access tests run once more on it.
pg="$(mktemp -d /tmp/prorrata-pg.XXXXXX)"
limpiar() {
  bash "$raiz/scripts/pg_prueba.sh" detener "$pg"
  rm -rf "$XDG_RUNTIME_DIR" "$pg"
}
trap limpiar EXIT
# Ports below the kernel's range for outgoing connections (32768 and up): a test that stops
# the server and connects meanwhile could otherwise be given the server's port as its own.
for puerto in $(seq 25432 25452); do
  rm -rf "$pg/datos"
  if bash "$raiz/scripts/pg_prueba.sh" iniciar "$pg" "$puerto" 2>/dev/null; then
    # The administrator's password for creating the test databases (libpq reads PGPASSWORD).
    export VL_PG_PRUEBA="127.0.0.1:$puerto" VL_PG_CARPETA="$pg" PGPASSWORD=postgres
    break
  fi
done
if [ -z "${VL_PG_PRUEBA:-}" ]; then
  echo "No se pudo iniciar el servidor PostgreSQL de prueba; ver $pg" >&2
  exit 1
fi

cd "$raiz/build"
estado=0
ctest --output-on-failure --timeout 600 "$@" || estado=$?

# With PRORRATA_SANITIZADORES=1, the same tests once more, built with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ (scripts/sanitizadores.sh).
if [ "${PRORRATA_SANITIZADORES:-0}" = 1 ]; then
  bash "$raiz/scripts/sanitizadores.sh" "$@" || estado=$?
fi
exit "$estado"

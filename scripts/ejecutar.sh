#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo company when it is not there, and
# starts the editor on the embedded demo server. Extra arguments replace the command line.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
bash "$raiz/scripts/compilar.sh"

app="$raiz/build/src/app"
if [ ! -f "$app/demo/EMPRESA_DEMO.db" ]; then
  "$raiz/build/tools/crear_demo" "$app/demo"
fi

[ -f "$app/consultas.vlx" ] || cp "$app/demo/consultas.vlx" "$app/"

linea=("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;")
[ $# -gt 0 ] && linea=("$@")

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Sin pantalla gráfica: el programa corre en una pantalla virtual (xvfb-run)." >&2
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$app/prorrata" "${linea[@]}"
fi
exec "$app/prorrata" "${linea[@]}"

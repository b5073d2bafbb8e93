#!/usr/bin/env bash
# Installs what is missing, builds only what it runs (the program, its SQL console and the
# company tool), creates the demo company in the build tree when it is not there, and starts
# the editor on the embedded demo server. Extra arguments replace the command line.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
bash "$raiz/scripts/instalar.sh"
if [ ! -f "$raiz/build/build.ninja" ]; then
  lanzador=()
  command -v ccache >/dev/null && lanzador=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$raiz" -B "$raiz/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${lanzador[@]}" >/dev/null
fi
cmake --build "$raiz/build" --parallel "$(nproc)" --target prorrata prorrata-sql prorrata-empresa

app="$raiz/build/src/app"
if [ ! -f "$app/demo/EMPRESA_DEMO.db" ]; then
  "$raiz/build/tools/prorrata-empresa" "$app/demo"
fi
# The build tree's registry names the demo server, whatever the user's own registry says.
export VL_SERVIDORES="${VL_SERVIDORES:-$app/servidores.ini}"

linea=("@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;")
[ $# -gt 0 ] && linea=("$@")

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$app/prorrata" "${linea[@]}"
fi

# No display: a virtual one (Xvfb) on the first free number, for as long as the program runs.
n=99
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
cat >&2 <<FIN
Sin pantalla gráfica: el programa corre en la pantalla virtual :$n (Xvfb, proceso $xvfb).
  Verla:     x11vnc -display :$n -localhost (paquete x11vnc) y un visor VNC en localhost:5900
             (o una captura: import -display :$n -window root captura.png)
  Detenerla: Ctrl+C aquí, o  kill $xvfb  (termina también el programa)
FIN
DISPLAY=":$n" "$app/prorrata" "${linea[@]}"

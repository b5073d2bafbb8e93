#!/usr/bin/env bash
# What `cmake --install` puts in a fresh prefix: the program's folder with the program and
# its SQL console, the report definitions, the form's stored properties, the skins and the
# command bar's icons beside them, links to both in bin,
# the icon in the icon theme and the desktop entry; the links reach the programs and the
# desktop entry starts the program by name with its icon.
set -euo pipefail
build="$1"
fuente="$2"
dest="$(mktemp -d)"
trap 'rm -rf "$dest"' EXIT
cmake --install "$build" --prefix "$dest/usr" >/dev/null
cd "$dest/usr"

esperado="bin/prorrata -> ../lib/prorrata/prorrata
bin/prorrata-sql -> ../lib/prorrata/prorrata-sql
lib/prorrata/prorrata
lib/prorrata/prorrata-sql"
if [ -d "$fuente/resources/reportes" ]; then
  esperado+=$'\n'"$(cd "$fuente/resources/reportes" && find . -name '*.rpt' -printf 'lib/prorrata/%P\n')"
fi
esperado+=$'\n'"lib/prorrata/frmProrrata.propiedades"
esperado+=$'\n'"$(cd "$fuente/resources" && find Styles -type f -printf 'lib/prorrata/%p\n')"
if [ -d "$fuente/resources/img_menu" ]; then
  esperado+=$'\n'"$(cd "$fuente/resources" && find img_menu -maxdepth 1 -name '*.png' -printf 'lib/prorrata/%p\n')"
fi
for png in "$fuente"/resources/icono/vela-*.png; do
  lado="$(basename "$png" .png)"; lado="${lado#vela-}"
  esperado+=$'\n'"share/icons/hicolor/${lado}x${lado}/apps/prorrata.png"
done
esperado+=$'\n'"share/applications/prorrata.desktop
share/icons/hicolor/scalable/apps/prorrata.svg"

actual="$(find . \( -type f -o -type l \) -printf '%P\n' | sort | while read -r f; do
  if [ -L "$f" ]; then echo "$f -> $(readlink "$f")"; else echo "$f"; fi
done)"
if ! diff <(sort <<<"$esperado") <(echo "$actual"); then
  echo "Los archivos instalados no son los esperados (arriba: < esperado, > instalado)" >&2
  exit 1
fi

for c in bin/prorrata bin/prorrata-sql; do
  [ -x "$(readlink -f "$c")" ] || { echo "$c no lleva a un programa" >&2; exit 1; }
done
entrada=share/applications/prorrata.desktop
for clave in 'Type=Application' 'Exec=prorrata' 'Icon=prorrata' 'Terminal=false'; do
  grep -qx "$clave" "$entrada" || { echo "falta $clave en $entrada" >&2; exit 1; }
done
grep -q '^Name=.' "$entrada" || { echo "falta Name en $entrada" >&2; exit 1; }
echo "instalación correcta"

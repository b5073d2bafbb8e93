#!/usr/bin/env bash
# What `cmake --install` puts in a fresh staging folder (DESTDIR, prefix /usr, as the package
# does): the program's folder with the program, its SQL console, the company tool, the SQLite
# extension, the report definitions, the look-up definitions, the form's stored properties,
# the skins and the command bar's icons; links to the three commands in bin; the icon, the
# desktop entry, the manual pages, the package's documents; the administrator's registry in
# /etc/prorrata. Then, on the installed commands: --help and --version without a display; the
# registry found in each of its places, in order; a company created by the tool in the user's
# folders, owner-only; start-ups that write nothing beside the program. Where dpkg-dev is
# present, the .deb as well.
set -euo pipefail
build="$1"
fuente="$2"
dest="$(mktemp -d)"
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest/raiz" cmake --install "$build" --prefix /usr >/dev/null
raiz="$dest/raiz"
cd "$raiz"
falla() { echo "$*" >&2; exit 1; }

lista_esperada() { # the files under a root, with links shown, for the staged install and the .deb
  local p="$1" # prefix of every path ("" or "./")
  echo "${p}etc/prorrata/servidores.ini"
  for c in prorrata prorrata-sql prorrata-empresa; do
    echo "${p}usr/bin/$c -> ../lib/prorrata/$c"
    echo "${p}usr/lib/prorrata/$c"
    echo "${p}usr/share/man/man1/$c.1.gz"
  done
  echo "${p}usr/lib/prorrata/vl.so"
  echo "${p}usr/lib/prorrata/consultas.vlx"
  echo "${p}usr/lib/prorrata/frmProrrata.propiedades"
  (cd "$fuente/resources/reportes" && find . -name '*.rpt' -printf "${p}usr/lib/prorrata/%P\n")
  (cd "$fuente/resources" && find Styles -type f -printf "${p}usr/lib/prorrata/%p\n")
  (cd "$fuente/resources" && find img_menu -maxdepth 1 -name '*.png' -printf "${p}usr/lib/prorrata/%p\n")
  for png in "$fuente"/resources/icono/vela-*.png; do
    lado="$(basename "$png" .png)"; lado="${lado#vela-}"
    echo "${p}usr/share/icons/hicolor/${lado}x${lado}/apps/prorrata.png"
  done
  echo "${p}usr/share/icons/hicolor/scalable/apps/prorrata.svg"
  echo "${p}usr/share/applications/prorrata.desktop"
  echo "${p}usr/share/doc/prorrata/copyright"
  echo "${p}usr/share/doc/prorrata/changelog.gz"
}

actual="$(find . \( -type f -o -type l \) -printf '%P\n' | sort | while read -r f; do
  if [ -L "$f" ]; then echo "$f -> $(readlink "$f")"; else echo "$f"; fi
done)"
if ! diff <(lista_esperada "" | sort) <(echo "$actual"); then
  falla "Los archivos instalados no son los esperados (arriba: < esperado, > instalado)"
fi
# Every @2x icon has its 40-pixel file: the naming rules of the icon files hold.
for doble in usr/lib/prorrata/img_menu/*@2x.png; do
  [ -f "${doble%@2x.png}.png" ] || falla "$doble sin su archivo de 40 pixeles"
done

entrada=usr/share/applications/prorrata.desktop
for clave in 'Type=Application' 'Exec=prorrata --acceso' 'Icon=prorrata' 'Terminal=false'; do
  grep -qx "$clave" "$entrada" || falla "falta $clave en $entrada"
done
grep -q '^Name=.' "$entrada" || falla "falta Name en $entrada"
# The administrator's registry holds commented examples only.
if grep -v '^[[:space:]]*\(;\|#\|$\)' etc/prorrata/servidores.ini; then
  falla "etc/prorrata/servidores.ini debe traer solo ejemplos comentados"
fi
for m in usr/share/man/man1/*.gz; do
  gzip -t "$m" || falla "$m no es un gzip válido"
  zcat "$m" | grep -q '^\.TH ' || falla "$m no es una página de manual"
done

# --help and --version without a display (no DISPLAY, no platform chosen): exit 0, text out.
sin_pantalla=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
for c in prorrata prorrata-sql prorrata-empresa; do
  [ -x "$(readlink -f usr/bin/$c)" ] || falla "usr/bin/$c no lleva a un programa"
  for o in --help --version; do
    salida="$("${sin_pantalla[@]}" "usr/bin/$c" "$o" </dev/null)" || falla "$c $o terminó con $?"
    [ -n "$salida" ] || falla "$c $o no mostró nada"
  done
  "${sin_pantalla[@]}" "usr/bin/$c" --version | grep -q "^$c [0-9]" || falla "$c --version no da su nombre y versión"
done
"${sin_pantalla[@]}" usr/bin/prorrata --help | grep -q -- '--acceso' || falla "prorrata --help no nombra --acceso"

# A user of our own: home and XDG folders in the staging folder.
usuario="$dest/usuario"
mkdir -p "$usuario"
export HOME="$usuario/home" XDG_CONFIG_DIRS="$usuario/xdg1:$usuario/xdg2" XDG_RUNTIME_DIR="$usuario/sesion"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_STATE_HOME VL_SERVIDORES VL_CARPETA_INI TEMP TMP
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
programa="$raiz/usr/lib/prorrata"

# The registry in each of its places: the server DEMO points at a folder named after the
# place, and the console's error names the file it looked for.
lugar_leido() {
  "$raiz/usr/bin/prorrata-sql" "@Server=DEMO; @DbName=EMPRESA_DEMO;" "SELECT 1" 2>&1 >/dev/null |
    grep -o '/no-existe/[a-z0-9]*/' | head -1 | cut -d/ -f3
}
registro() { mkdir -p "$(dirname "$1")"; printf '[DEMO]\nMotor=SQLite\nCarpeta=/no-existe/%s\n' "$2" > "$1"; }
registro "$usuario/variable.ini" variable
registro "$HOME/.config/prorrata/servidores.ini" usuario
registro "$usuario/xdg1/prorrata/servidores.ini" xdg1
registro "$usuario/xdg2/prorrata/servidores.ini" xdg2
registro "$programa/servidores.ini" programa
[ "$(VL_SERVIDORES="$usuario/variable.ini" lugar_leido)" = variable ] || falla "VL_SERVIDORES no es el primero"
for l in usuario xdg1 xdg2; do
  [ "$(lugar_leido)" = "$l" ] || falla "se esperaba el registro de $l, se leyó $(lugar_leido)"
  case $l in
    usuario) rm "$HOME/.config/prorrata/servidores.ini" ;;
    xdg1) printf '; solo ejemplos\n;[DEMO]\n' > "$usuario/xdg1/prorrata/servidores.ini" ;; # does not hide the next
    xdg2) rm "$usuario/xdg2/prorrata/servidores.ini" ;;
  esac
done
if ! grep -qs '^[[:space:]]*\[' /etc/prorrata/servidores.ini; then
  [ "$(lugar_leido)" = programa ] || falla "el registro de la carpeta del programa no se leyó"
fi
rm -r "$programa/servidores.ini" "$usuario/xdg1"

# The company tool on a fresh user: the demo in the data folder, the registry written.
antes="$(find "$programa" -printf '%P %s %T@\n' | sort)"
"$raiz/usr/bin/prorrata-empresa" >/dev/null
datos="$HOME/.local/share/prorrata"
for f in "$datos/EMPRESA_DEMO.db" "$datos/VL_ESTADISTICAS.db" "$HOME/.config/prorrata/servidores.ini"; do
  [ "$(stat -c %a "$f")" = 600 ] || falla "$f no es solo de su dueño ($(stat -c %a "$f"))"
done
[ "$(stat -c %a "$datos")" = 700 ] || falla "$datos no es solo de su dueño"
"$raiz/usr/bin/prorrata-empresa" >/dev/null 2>&1 && falla "una empresa existente se creó de nuevo sin --reemplazar"
n="$("$raiz/usr/bin/prorrata-sql" "@Server=DEMO; @DbName=EMPRESA_DEMO;" "SELECT COUNT(*) AS N FROM TA_CCOSTO" | tail -1)"
[ "$n" -gt 0 ] || falla "la empresa de demostración no tiene centros de costo"

# A login (the start-up of the report written without windows: the access logged, the user's
# defaults read), then one whose statistics table is missing (errors reported on the way):
# nothing is written beside the program. (tst_avisoerror checks that trapped errors write
# VLERR.LOG in the user's state folder.)
env QT_QPA_PLATFORM=offscreen "$raiz/usr/bin/prorrata" --reporte 1 --pdf "$usuario/r.pdf" \
  "@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;" >/dev/null 2>&1 || falla "el reporte sin ventanas falló"
[ -s "$usuario/r.pdf" ] || falla "el reporte sin ventanas no escribió el PDF"
"$raiz/usr/bin/prorrata-sql" "@Server=DEMO; @DbName=VL_ESTADISTICAS;" "DROP TABLE TA_CONFIGURACION" 2>/dev/null
env QT_QPA_PLATFORM=offscreen "$raiz/usr/bin/prorrata" --reporte 1 --pdf "$usuario/r.pdf" \
  "@Server=DEMO; @DbName=EMPRESA_DEMO; @Usuario=ANA; orbe@ ;" >/dev/null 2>&1 || true
despues="$(find "$programa" -printf '%P %s %T@\n' | sort)"
[ "$antes" = "$despues" ] || falla "se escribió en la carpeta del programa: $(diff <(echo "$antes") <(echo "$despues"))"

# The Debian package, where dpkg-dev is present: the same files, the conffile, the metadata.
if command -v dpkg-shlibdeps >/dev/null && command -v cpack >/dev/null; then
  (cd "$build" && cpack -G DEB -B "$dest/paquete" >/dev/null) || falla "cpack -G DEB falló"
  deb="$(ls "$dest"/paquete/prorrata_*.deb)"
  contenido="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { s = $6; for (i = 7; i <= NF; i++) s = s " " $i; print s }' | sort)"
  diff <(lista_esperada "./" | sort) <(echo "$contenido") || falla "el paquete no trae los archivos esperados"
  dpkg-deb -I "$deb" conffiles | grep -qx /etc/prorrata/servidores.ini || falla "servidores.ini no es un conffile"
  control="$(dpkg-deb -f "$deb" Depends Description)"
  for d in libqt6widgets6 libsqlite3-0 libpq5 libodbc2 qt6-qpa-plugins; do
    grep -q "$d" <<<"$control" || falla "Depends no nombra $d"
  done
  [ "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 3 ] || falla "la descripción no tiene su párrafo"
fi
echo "instalación correcta"

#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
set -euo pipefail

PAQUETES=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev libqt6sql6-sqlite qt6-translations-l10n libqt6printsupport6
  libsqlite3-dev libpq-dev unixodbc-dev unixodbc odbc-postgresql tdsodbc libsqliteodbc odbc-mdbtools
  postgresql-15
  libgtest-dev libbenchmark-dev
  xvfb xauth poppler-utils fonts-dejavu-core
  sqlite3
)

faltan=()
for p in "${PAQUETES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
done

if [ ${#faltan[@]} -eq 0 ]; then
  exit 0
fi

echo "Instalando: ${faltan[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${faltan[@]}"

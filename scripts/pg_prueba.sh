#!/usr/bin/env bash
# A throw-away PostgreSQL cluster on a loopback port, for the tests.
#   pg_prueba.sh iniciar CARPETA PUERTO   creates and starts it (superuser postgres, password postgres)
#   pg_prueba.sh detener CARPETA          stops it
#   pg_prueba.sh reanudar CARPETA PUERTO  starts it again
set -euo pipefail
bin=/usr/lib/postgresql/15/bin
accion="$1"; carpeta="$2"
como() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
case "$accion" in
  iniciar)
    puerto="$3"
    mkdir -p "$carpeta"
    [ "$(id -u)" -eq 0 ] && chown postgres "$carpeta"
    chmod 700 "$carpeta"
    echo postgres > "$carpeta/pw"
    [ "$(id -u)" -eq 0 ] && chown postgres "$carpeta/pw"
    como "$bin/initdb" -D "$carpeta/datos" -U postgres --pwfile="$carpeta/pw" -A scram-sha-256 --auth-local=trust \
      -E UTF8 --locale=C.UTF-8 >"$carpeta/initdb.log" 2>&1
    como "$bin/pg_ctl" -D "$carpeta/datos" -l "$carpeta/servidor.log" -w \
      -o "-p $puerto -k $carpeta -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null
    ;;
  reanudar)
    como "$bin/pg_ctl" -D "$carpeta/datos" -l "$carpeta/servidor.log" -w \
      -o "-p $3 -k $carpeta -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null
    ;;
  detener)
    [ -d "$carpeta/datos" ] && como "$bin/pg_ctl" -D "$carpeta/datos" -m fast -w stop >/dev/null 2>&1 || true
    ;;
esac

#pragma once
// The test command's throw-away PostgreSQL cluster (VL_PG_CARPETA, VL_PG_PRUEBA), stopped and
// started again by the tests of a lost link.

#include <QString>

// "detener" stops it, "reanudar" starts it again on its port (scripts/pg_prueba.sh); true
// when that worked.
bool cluster(const QString& accion);

// The VL collation and functions as a loadable SQLite extension, so that the stock sqlite3
// tool and SQLite browsers can read, check and repair the company files:
//
//   sqlite3 -cmd ".load build/src/data/vl" datos/EMPRESA_DEMO.db
#include "data/ado/sqlite/FuncionesVL.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#ifdef _WIN32
#define VL_EXPORTA __declspec(dllexport)
#else
#define VL_EXPORTA __attribute__((visibility("default")))
#endif

extern "C" VL_EXPORTA int sqlite3_extension_init(sqlite3* db, char** error, const sqlite3_api_routines* api)
{
    SQLITE_EXTENSION_INIT2(api);
    const int rc = ado::sqlite::RegistrarFuncionesVL(db);
    if (rc != SQLITE_OK && error)
        *error = sqlite3_mprintf("no se pudieron registrar la intercalación y las funciones VL (%d)", rc);
    return rc;
}

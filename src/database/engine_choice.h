#pragma once
// The engine a run uses: the SQLite engine, or the ODBC engine when the
// environment variable TYPROSYNC_ODBC holds a connection string.

#include <memory>

#include "database/engine.h"

namespace typrosync {

// `odbc_connection` is the value of TYPROSYNC_ODBC (nullptr when unset);
// unset or empty gives the SQLite engine.
std::unique_ptr<DatabaseEngine> MakeEngineFor(const char* odbc_connection);

}  // namespace typrosync

#include "database/engine_choice.h"
#include "database/odbc_engine.h"

namespace typrosync {

// Windows builds carry no SQLite: the administration is always reached
// through ODBC (the Access driver beside the Jet file). Without
// TYPROSYNC_ODBC the connection fails and the opening reports it.
std::unique_ptr<DatabaseEngine> MakeEngineFor(const char* odbc_connection) {
  return MakeOdbcEngine({odbc_connection == nullptr ? "" : odbc_connection});
}

}  // namespace typrosync

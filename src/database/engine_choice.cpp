#include "database/engine_choice.h"

#include "database/odbc_engine.h"
#include "database/sqlite_engine.h"

namespace typrosync {

std::unique_ptr<DatabaseEngine> MakeEngineFor(const char* odbc_connection) {
  if (odbc_connection == nullptr || *odbc_connection == '\0') return MakeSqliteEngine();
  return MakeOdbcEngine({odbc_connection});
}

}  // namespace typrosync

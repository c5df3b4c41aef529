#pragma once
// The SQLite engine's table-type recordset. Each recordset keeps one live
// statement over its table in the current index's order (field values
// compared without regard to case, equal keys in insertion order), so a
// move costs one step and a seek one index search. Internal to the engine.

#include <memory>

#include "database/engine.h"
#include "database/sqlite_connection.h"
#include "database/sqlite_table_schema.h"

namespace typrosync {

std::unique_ptr<TableRecordset> MakeSqliteRecordset(std::shared_ptr<SqliteConnection> connection,
                                                    TableSchema schema);

}  // namespace typrosync

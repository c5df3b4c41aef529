#pragma once
// Helpers for the database tests: small SQLite files in a temporary folder,
// written in the administration layout, and a second user of such a file.

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "common/variant.h"
#include "common/vb_error.h"
#include "database/sqlite_administration_writer.h"
#include "database/sqlite_engine.h"
#include "support/test_server.h"

namespace typrosync::test_support {

// Writes a new file with the given tables and rows (per table, in order).
struct TestTable {
  TableDefinition definition;
  std::vector<std::string> fields;  // fields of the rows below
  std::vector<std::vector<Variant>> rows;
};
inline void WriteDatabase(const std::string& path, const std::vector<TestTable>& tables) {
  AdministrationWriter writer(path);
  writer.Begin();
  for (const TestTable& table : tables) {
    writer.CreateTable(table.definition);
    writer.CreateIndexes(table.definition);
    if (table.rows.empty()) continue;
    auto inserter = writer.Inserter(table.definition.name, table.fields);
    for (const std::vector<Variant>& row : table.rows) inserter.Insert(row);
  }
  writer.Commit();
}

// Another connection to the file, as another program would hold it.
class OtherUser {
 public:
  explicit OtherUser(const std::string& path) {
    sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
  }
  ~OtherUser() { sqlite3_close_v2(db_); }
  OtherUser(const OtherUser&) = delete;
  OtherUser& operator=(const OtherUser&) = delete;
  // Runs SQL; false when SQLite refuses it (for example because it is busy).
  bool Exec(const std::string& sql) {
    return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace typrosync::test_support

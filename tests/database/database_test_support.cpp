#include "database/database_test_support.h"

#include <sqlite3.h>

namespace typrosync::test_support {

void WriteDatabase(const std::string& path, const std::vector<TestTable>& tables,
                   const std::string& password) {
  AdministrationWriter writer(path);
  writer.Begin();
  for (const TestTable& table : tables) {
    writer.CreateTable(table.definition);
    writer.CreateIndexes(table.definition);
    if (table.rows.empty()) continue;
    auto inserter = writer.Inserter(table.definition.name, table.fields);
    for (const std::vector<Variant>& row : table.rows) inserter.Insert(row);
  }
  writer.SetPassword(password);
  writer.Commit();
}

OtherUser::OtherUser(const std::string& path) {
  sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
}

OtherUser::~OtherUser() { sqlite3_close_v2(db_); }

bool OtherUser::Exec(const std::string& sql) {
  return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace typrosync::test_support

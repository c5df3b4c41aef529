#pragma once
// Writes administration files in the storage layout the SQLite engine reads
// (README.md): tables with typed fields, "<Table>__<Index>" indexes with
// case-insensitive keys, and the password table. Used by typrosync-admin
// and by tests that build administrations.

#include <memory>
#include <string>
#include <vector>

#include "common/variant.h"
#include "database/sqlite_connection.h"

namespace typrosync {

struct FieldDefinition {
  std::string name;
  std::string type;  // "TEXT", "INTEGER", "DOUBLE", "CURRENCY" or "BOOLEAN"
};

struct IndexDefinition {
  std::string name;
  std::vector<std::string> fields;
  bool unique = false;
};

struct TableDefinition {
  std::string name;
  std::vector<FieldDefinition> fields;
  std::vector<IndexDefinition> indexes;
};

class AdministrationWriter {
 public:
  // Creates a new file in WAL mode; error 3000 when the file already exists
  // or cannot be made.
  explicit AdministrationWriter(const std::string& path);
  // Leaves the file in WAL mode.
  ~AdministrationWriter();
  AdministrationWriter(const AdministrationWriter&) = delete;
  AdministrationWriter& operator=(const AdministrationWriter&) = delete;

  // The table without its indexes (build those after bulk inserts).
  void CreateTable(const TableDefinition& table);
  void CreateIndexes(const TableDefinition& table);
  // An empty password leaves the file without one.
  void SetPassword(const std::string& password);
  void Begin();
  void Commit();

  // Inserts rows into one table with one prepared statement.
  class RowInserter {
   public:
    RowInserter(std::shared_ptr<SqliteConnection> connection, const std::string& table,
                const std::vector<std::string>& fields);
    // values in the order of the fields given; error 3000 on a failure.
    void Insert(const std::vector<Variant>& values);

   private:
    std::shared_ptr<SqliteConnection> connection_;
    Statement insert_;
  };
  RowInserter Inserter(const std::string& table, const std::vector<std::string>& fields);

 private:
  std::shared_ptr<SqliteConnection> connection_;
};

}  // namespace typrosync

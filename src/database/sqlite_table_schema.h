#pragma once
// What the SQLite engine knows of one table: its fields, how their values
// are presented, and the indexes stored for it under the name
// "<Table>__<IndexName>" (see README.md). Internal to the SQLite engine.

#include <optional>
#include <string>
#include <vector>

#include "database/name_index.h"
#include "database/sqlite_connection.h"

namespace typrosync {

// How a stored value is handed out: as stored, as a Boolean (declared type
// with BOOL, BIT or YESNO) or as a Currency (declared CURRENCY or MONEY).
enum class ColumnKind { kPlain, kBoolean, kCurrency };

struct ColumnInfo {
  std::string name;
  ColumnKind kind = ColumnKind::kPlain;
};

struct IndexInfo {
  std::string name;          // the part after "<Table>__"
  std::vector<int> columns;  // positions in TableSchema::columns
};

struct TableSchema {
  std::string name;  // as stored in the file
  std::vector<ColumnInfo> columns;
  std::vector<IndexInfo> indexes;
  NameIndex column_positions;

  const IndexInfo* FindIndex(const std::string& index_name) const;
};

// The schema of `table` (matched without regard to case); nullopt when the
// file has no such table.
std::optional<TableSchema> ReadTableSchema(SqliteConnection& connection, const std::string& table);

// `name` as an SQL identifier in double quotes.
std::string QuoteIdentifier(const std::string& name);

}  // namespace typrosync

#include "database/sqlite_table_schema.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "database/name_index.h"

namespace typrosync {
namespace {

ColumnKind KindOfDeclaredType(const std::string& declared) {
  const std::string type = UpperAscii(declared);
  if (type.find("CURRENCY") != std::string::npos || type.find("MONEY") != std::string::npos) {
    return ColumnKind::kCurrency;
  }
  if (type.find("BOOL") != std::string::npos || type == "BIT" || type == "YESNO") {
    return ColumnKind::kBoolean;
  }
  return ColumnKind::kPlain;
}

std::string ColumnText(sqlite3_stmt* stmt, int column) {
  const unsigned char* text = sqlite3_column_text(stmt, column);
  return text ? reinterpret_cast<const char*>(text) : "";
}

std::optional<std::string> StoredTableName(SqliteConnection& connection, const std::string& table) {
  Statement stmt = connection.Prepare(
      "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
  sqlite3_bind_text(stmt.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
  if (!connection.Step(stmt.get())) return std::nullopt;
  return ColumnText(stmt.get(), 0);
}

void ReadColumns(SqliteConnection& connection, TableSchema& schema) {
  Statement stmt = connection.Prepare("SELECT name, type FROM pragma_table_info(?1) ORDER BY cid");
  sqlite3_bind_text(stmt.get(), 1, schema.name.c_str(), -1, SQLITE_TRANSIENT);
  while (connection.Step(stmt.get())) {
    ColumnInfo column{ColumnText(stmt.get(), 0), KindOfDeclaredType(ColumnText(stmt.get(), 1))};
    schema.column_positions.Add(column.name, static_cast<int>(schema.columns.size()));
    schema.columns.push_back(std::move(column));
  }
}

// Key fields of one stored index, in key order; empty when one of them is
// an expression rather than a field.
std::vector<int> IndexColumns(SqliteConnection& connection, const TableSchema& schema,
                              const std::string& stored_name) {
  Statement stmt = connection.Prepare("SELECT name FROM pragma_index_info(?1) ORDER BY seqno");
  sqlite3_bind_text(stmt.get(), 1, stored_name.c_str(), -1, SQLITE_TRANSIENT);
  std::vector<int> columns;
  while (connection.Step(stmt.get())) {
    const int position = schema.column_positions.Find(ColumnText(stmt.get(), 0));
    if (position < 0) return {};
    columns.push_back(position);
  }
  return columns;
}

void ReadIndexes(SqliteConnection& connection, TableSchema& schema) {
  Statement stmt = connection.Prepare(
      "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 COLLATE NOCASE "
      "ORDER BY name");
  sqlite3_bind_text(stmt.get(), 1, schema.name.c_str(), -1, SQLITE_TRANSIENT);
  const std::string prefix = schema.name + "__";
  while (connection.Step(stmt.get())) {
    const std::string stored = ColumnText(stmt.get(), 0);
    if (stored.size() <= prefix.size() ||
        !EqualsIgnoringCase(std::string_view(stored).substr(0, prefix.size()), prefix)) {
      continue;
    }
    IndexInfo index{stored.substr(prefix.size()), IndexColumns(connection, schema, stored)};
    if (!index.columns.empty()) schema.indexes.push_back(std::move(index));
  }
}

}  // namespace

const IndexInfo* TableSchema::FindIndex(const std::string& index_name) const {
  for (const IndexInfo& index : indexes) {
    if (EqualsIgnoringCase(index.name, index_name)) return &index;
  }
  return nullptr;
}

std::optional<TableSchema> ReadTableSchema(SqliteConnection& connection, const std::string& table) {
  std::optional<std::string> stored = StoredTableName(connection, table);
  if (!stored) return std::nullopt;
  TableSchema schema;
  schema.name = *stored;
  ReadColumns(connection, schema);
  ReadIndexes(connection, schema);
  return schema;
}

std::string QuoteIdentifier(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return quoted;
}

}  // namespace typrosync

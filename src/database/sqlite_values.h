#pragma once
// Moving values between SQLite and Variant: reading a field of the current
// row or of a kept copy of it, and binding a Variant as a parameter.
// Internal to the SQLite engine.

#include <memory>
#include <vector>

#include "common/variant.h"
#include "database/sqlite_table_schema.h"

struct sqlite3_stmt;
struct sqlite3_value;

namespace typrosync {

struct StoredValueFree {
  void operator()(sqlite3_value* value) const;
};
// A protected copy of one stored value, as SQLite holds it.
using StoredValue = std::unique_ptr<sqlite3_value, StoredValueFree>;
using StoredRow = std::vector<StoredValue>;

// Copies result columns [first, first + count) of a statement on a row.
StoredRow CopyRow(sqlite3_stmt* stmt, int first, int count);
// True when both rows hold the same storage classes and values.
bool SameRow(const StoredRow& a, const StoredRow& b);
long long StoredInteger(const StoredValue& value);

// The value as the recordset hands it out (Null for NULL; see ColumnKind).
Variant ColumnVariant(sqlite3_stmt* stmt, int column, ColumnKind kind);
Variant StoredVariant(const StoredValue& value, ColumnKind kind);

// Binds a Variant: Empty and Null as NULL, a whole-valued double or
// Currency as a whole number (so "5" and 5 find each other), True as 1.
int BindVariant(sqlite3_stmt* stmt, int parameter, const Variant& value);
int BindStored(sqlite3_stmt* stmt, int parameter, const StoredValue& value);

}  // namespace typrosync

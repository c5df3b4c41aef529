#pragma once
// What the ODBC engine knows of one table: its fields and their kinds (from
// the result columns of a plain SELECT), its indexes (from SQLStatistics;
// "<Table>__<Index>" and plain names are both found by <Index>) and the
// fields that identify a row. Internal to the ODBC engine.

#include <optional>
#include <string>
#include <vector>

#include "database/name_index.h"
#include "database/odbc_connection.h"
#include "database/odbc_values.h"

namespace typrosync {

struct OdbcColumn {
  std::string name;
  OdbcKind kind = OdbcKind::kText;
  uint64_t size = 0;
};

struct OdbcIndex {
  std::string name;
  std::vector<int> columns;  // positions in OdbcTableSchema::columns, in key order
};

struct OdbcTableSchema {
  std::string name;  // as the source stores it
  std::vector<OdbcColumn> columns;
  NameIndex column_positions;
  std::vector<OdbcIndex> indexes;
  // False when the driver cannot list indexes: then every field serves as
  // an index of its own name (the simpler path, see README).
  bool indexes_from_catalog = true;
  // The row identity as SQL terms ("rowid", or the best row id or primary
  // key fields, quoted); empty when the source names none.
  std::vector<std::string> identity;

  const OdbcIndex* FindIndex(const std::string& index_name) const;
};

// The schema of `table` (matched without regard to case); nullopt when the
// source has no such table.
std::optional<OdbcTableSchema> ReadOdbcTableSchema(OdbcConnection& connection,
                                                   const std::string& table);

}  // namespace typrosync

#pragma once
// The SQL a recordset runs for one order of its table: an index's key
// fields compared without regard to case with the row id breaking ties, or
// the row id alone (insertion order). Every query returns the row id in
// result column 0 and the table's fields from column 1 on, in schema order.
// Internal to the SQLite engine.

#include <string>
#include <vector>

#include "database/sqlite_table_schema.h"

namespace typrosync {

struct IndexQueries {
  std::string scan;          // every row in order
  std::string seek;          // rows from key ?1 on; last column: 1 when the first key equals ?1
  std::string resume;        // rows after (?1..?n = key fields, ?n+1 = row id)
  std::string count_before;  // count(*) of rows before that same position
};

// index == nullptr: insertion order (no key fields; resume binds only ?1).
IndexQueries MakeIndexQueries(const TableSchema& schema, const IndexInfo* index);

// One row by row id (?1), in the same column layout.
std::string RowByIdQuery(const TableSchema& schema);

// UPDATE of the given fields (?1..?n) of the row with row id ?n+1.
std::string UpdateQuery(const TableSchema& schema, const std::vector<int>& columns);

}  // namespace typrosync

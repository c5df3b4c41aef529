#pragma once
// The plain SQL a recordset on the ordered path runs for one order of its
// table: the index's key fields with the row identity breaking ties (or the
// identity alone). Every row query returns the identity terms first and
// then the table's fields in schema order. Positions are compared term by
// term in standard SQL, without row values. Internal to the ODBC engine.

#include <string>
#include <vector>

#include "common/variant.h"
#include "database/odbc_connection.h"
#include "database/odbc_table_schema.h"

namespace typrosync {

struct OdbcOrderQueries {
  std::string scan;          // every row in order
  std::string seek;          // rows from key ? on (parameters: key, key); last column 1 on a match
  std::string resume;        // rows after a position (parameters: PositionParameters)
  std::string count_before;  // count of the rows before it (parameters: PositionParameters)
  size_t terms = 0;          // the order's terms: key fields, then the identity
};

// index == nullptr: the identity order.
OdbcOrderQueries MakeOrderQueries(const OdbcConnection& connection, const OdbcTableSchema& schema,
                                  const OdbcIndex* index);

// The parameters of resume (with_lower_bound) or count_before for a
// position given by the values of its order terms.
std::vector<Variant> PositionParameters(const std::vector<Variant>& terms, bool with_lower_bound);

// One row by its identity (parameters: the identity values).
std::string RowByIdentityQuery(const OdbcConnection& connection, const OdbcTableSchema& schema);
// One field of one row by its identity (a text too long for the block).
std::string FieldByIdentityQuery(const OdbcConnection& connection, const OdbcTableSchema& schema,
                                 int column);
// UPDATE of the given fields (parameters: their values, then the identity).
std::string UpdateQuery(const OdbcConnection& connection, const OdbcTableSchema& schema,
                        const std::vector<int>& columns);
// A write that changes nothing, to take the row's write lock.
std::string LockQuery(const OdbcConnection& connection, const OdbcTableSchema& schema);
std::string CountQuery(const OdbcConnection& connection, const OdbcTableSchema& schema);

}  // namespace typrosync

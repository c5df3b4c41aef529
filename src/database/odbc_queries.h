#pragma once
// The plain SQL a recordset on the ordered path runs for one order of its
// table: the index's key fields with the row identity breaking ties (or the
// identity alone). Every row query returns the identity terms first and
// then the table's fields in schema order, and is bounded: the rows are
// read a block at a time, each block one execution ("LIMIT ?" for SQLite,
// SQL_ATTR_MAX_ROWS elsewhere). A position is compared term by term in
// standard SQL, without row values; Null sorts first, as in SQLite and Jet.
// Internal to the ODBC engine.

#include <string>
#include <vector>

#include "common/variant.h"
#include "database/odbc_connection.h"
#include "database/odbc_table_schema.h"

namespace typrosync {

class OdbcOrderQueries {
 public:
  // index == nullptr: the identity order. The row queries return the
  // identity terms and then `fields` (schema positions).
  OdbcOrderQueries(const OdbcConnection& connection, const OdbcTableSchema& schema,
                   const OdbcIndex* index, const std::vector<int>& fields);

  // True when the row queries end in "LIMIT ?" (the last parameter).
  bool limit_parameter() const { return limit_; }

  std::string First() const;  // rows from the first on
  // Rows from key ? on (parameters: key, key); the last column is 1 when the
  // first key equals the sought one.
  std::string Seek() const;
  // The rows after, and the count of the rows before, a position given by
  // the values of its order terms; with the matching parameters.
  std::string After(const std::vector<Variant>& position) const;
  std::vector<Variant> AfterParameters(const std::vector<Variant>& position) const;
  std::string CountBefore(const std::vector<Variant>& position) const;
  std::vector<Variant> BeforeParameters(const std::vector<Variant>& position) const;

 private:
  std::string Bounded(const std::string& where) const;
  std::string Condition(const std::vector<Variant>& position, size_t from, bool after) const;

  std::vector<std::string> terms_;
  std::string select_;
  std::string from_;
  std::string order_;
  bool keyed_;
  bool limit_;
};

// One row, every field, by its identity (parameters: the identity values).
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

#pragma once
// The ODBC engine's table-type recordsets. Two paths, chosen per table:
// - ordered queries: the source orders the rows (ORDER BY the index's key
//   fields, then the row identity) and the recordset reads them a block at a
//   time, each block one bounded query from the last row read on; edits
//   write by the row identity inside a transaction;
// - full scan: for a driver without ORDER BY or row identity (MDBTools), the
//   rows are read once in the source's order and ordered in memory; such a
//   recordset reads only.
// Internal to the ODBC engine.

#include <memory>
#include <string>

#include "database/engine.h"
#include "database/odbc_connection.h"
#include "database/odbc_table_schema.h"

namespace typrosync {

// Which path a recordset of this engine took, in words (tests report it).
class OdbcAccessPathInfo {
 public:
  virtual ~OdbcAccessPathInfo() = default;
  virtual std::string AccessPath() const = 0;
};

std::unique_ptr<TableRecordset> MakeOdbcRecordset(std::shared_ptr<OdbcConnection> connection,
                                                  OdbcTableSchema schema);

std::unique_ptr<TableRecordset> MakeOdbcScanRecordset(std::shared_ptr<OdbcConnection> connection,
                                                      OdbcTableSchema schema, std::string reason);

}  // namespace typrosync

#pragma once
// One open ODBC source, shared by its Database and the recordsets opened on
// it: the driver's traits, the table names, statements, the write lock and
// the translation of ODBC failures into the engine's errors. Internal to the
// ODBC engine; the ODBC headers stay in the .cpp files.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/vb_error.h"
#include "database/name_index.h"
#include "database/odbc_api.h"

namespace typrosync {

// What the engine relies on, per driver (see README, "Other databases").
struct DriverTraits {
  // SQLite: rows have a "rowid" in insertion order, keys compare with
  // COLLATE NOCASE, the busy wait is the driver's "Timeout" option.
  bool sqlite = false;
  // The catalog calls SQLStatistics and SQLSpecialColumns and the column
  // attribute SQL_DESC_TYPE_NAME can be asked (MDBTools crashes on them).
  bool catalog = true;
  // ORDER BY, parameters and UPDATE work (MDBTools' SQL has none of them).
  bool ordered_sql = true;
  // DECIMAL without a scale is the money type (MDBTools' Currency).
  bool money_as_decimal = false;
  bool read_only = false;
  std::string quote = "\"";
};

// A recordset that may hold an open cursor on the connection.
class CursorHolder {
 public:
  virtual ~CursorHolder() = default;
  // Keeps the current row's values and closes the cursor.
  virtual void Detach() = 0;
};

class OdbcConnection {
 public:
  // Connects; `source` names the source in errors (the connection string
  // without its password). Error 3151 when the driver refuses.
  static std::shared_ptr<OdbcConnection> Open(const std::string& connection_string,
                                              const std::string& source,
                                              std::chrono::milliseconds busy_timeout);
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  const DriverTraits& traits() const { return traits_; }
  const std::string& source() const { return source_; }
  std::string driver() const;

  // A new statement, with the busy time-out as its query time-out.
  std::unique_ptr<odbc::Statement> NewStatement();
  std::string Quote(const std::string& name) const;

  // The stored name of a table, matched without regard to case.
  std::optional<std::string> FindTable(const std::string& name);
  std::vector<std::string> TableNames();

  // The engine's error for an ODBC failure: 3260 for a lock or time-out,
  // otherwise 3000 with the driver's SQLSTATE and message.
  VbError Translate(const odbc::Failure& failure) const;

  void Register(CursorHolder* holder) { holders_.insert(holder); }
  void Unregister(CursorHolder* holder) { holders_.erase(holder); }
  void DetachAll();

  // A transaction (autocommit off) shared by nested holders; EndWrite
  // commits when the last holder ends. Rollback ends it at once.
  void BeginWrite();
  void EndWrite();
  void Rollback();

 private:
  OdbcConnection(std::unique_ptr<odbc::Connection> api, std::string source,
                 std::chrono::milliseconds busy_timeout);
  void LearnTraits();
  void ReadTableNames();

  std::unique_ptr<odbc::Connection> api_;
  std::string source_;
  std::chrono::milliseconds busy_timeout_;
  DriverTraits traits_;
  std::vector<std::string> table_names_;
  NameIndex table_positions_;
  std::unordered_set<CursorHolder*> holders_;
  int write_depth_ = 0;
};

// Runs `action`, turning an ODBC failure into the connection's VbError.
template <typename Action>
decltype(auto) Translated(const OdbcConnection& connection, Action&& action) {
  try {
    return action();
  } catch (const odbc::Failure& failure) {
    throw connection.Translate(failure);
  }
}

}  // namespace typrosync

#pragma once
// The ODBC engine behind the database interface of engine.h: each database
// file is reached through an ODBC driver, by a connection string in which
// {file} stands for the file's full path and {pwd} for the administration's
// password (README, "Other databases (ODBC)").

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "database/engine.h"

namespace typrosync {

struct OdbcEngineOptions {
  std::string connection_template;  // e.g. "Driver=SQLite3;Database={file}"
  // How long a write waits for another user's lock before error 3260.
  std::chrono::milliseconds busy_timeout{5000};
};

std::unique_ptr<DatabaseEngine> MakeOdbcEngine(OdbcEngineOptions options);

// The template with {file} and {pwd} filled in; a value with a character
// the connection string syntax reserves is wrapped in braces.
std::string FillConnectionString(const std::string& connection_template, const std::string& file,
                                 const std::string& password);

// The tables of a database this engine opened (empty for another engine).
std::vector<std::string> OdbcTableNames(Database& database);

// How a recordset of this engine reaches its rows: "ordered queries" or
// "full scan ordered in memory (why)"; empty for another engine.
std::string OdbcAccessPath(const TableRecordset& recordset);

}  // namespace typrosync

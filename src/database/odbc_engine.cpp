#include "database/odbc_engine.h"

#include <filesystem>

#include "database/database_errors.h"
#include "database/odbc_connection.h"
#include "database/odbc_recordset.h"
#include "database/odbc_table_schema.h"
#include "database/sha256.h"

namespace typrosync {
namespace {

// The table in which a file of the SQLite layout keeps its password.
constexpr char kPasswordTable[] = "_typrosync_password";

// A value with ";", braces or edge spaces would end or change the connection
// string; in braces (a "}" doubled) the driver manager takes it literally.
std::string Braced(const std::string& value) {
  const bool plain = value.find_first_of(";{}") == std::string::npos &&
                     (value.empty() || (value.front() != ' ' && value.back() != ' '));
  if (plain) return value;
  std::string braced = "{";
  for (char c : value) {
    braced.push_back(c);
    if (c == '}') braced.push_back('}');
  }
  return braced + "}";
}

std::string Replaced(std::string text, const std::string& placeholder, const std::string& value) {
  for (size_t at = text.find(placeholder); at != std::string::npos;
       // The search goes on after the value, so a value holding the placeholder
       // itself is never filled in again.
       at = text.find(placeholder, at + value.size())) {
    text.replace(at, placeholder.size(), value);
  }
  return text;
}

// Which path a table takes, and why the simpler one (see odbc_recordset.h).
std::string ScanReason(const OdbcConnection& connection, const OdbcTableSchema& schema) {
  std::string reason;
  if (!connection.traits().ordered_sql) {
    reason = "the driver's SQL has no ORDER BY, parameters or UPDATE";
  } else if (schema.identity.empty()) {
    reason = "the source names no row identity";
  }
  if (!reason.empty() && !schema.indexes_from_catalog) {
    reason += "; the driver lists no indexes, so each field serves as an index of its name";
  }
  return reason;
}

class OdbcDatabase final : public Database {
 public:
  explicit OdbcDatabase(std::shared_ptr<OdbcConnection> connection)
      : connection_(std::move(connection)) {}

  std::unique_ptr<TableRecordset> OpenTable(const std::string& table) override {
    std::optional<OdbcTableSchema> schema = ReadOdbcTableSchema(*connection_, table);
    if (!schema) throw database_errors::TableNotFound(table);
    std::string reason = ScanReason(*connection_, *schema);
    std::unique_ptr<TableRecordset> recordset =
        reason.empty() ? MakeOdbcRecordset(connection_, std::move(*schema))
                       : MakeOdbcScanRecordset(connection_, std::move(*schema), std::move(reason));
    // A table opens on its first row, as a freshly opened recordset does.
    recordset->MoveFirst();
    return recordset;
  }

  std::vector<std::string> TableNames() { return connection_->TableNames(); }

 private:
  std::shared_ptr<OdbcConnection> connection_;
};

// A file of the SQLite layout keeps a salted hash of its password; the
// check is the SQLite engine's, so both engines accept the same passwords.
bool PasswordMatches(OdbcConnection& connection, const std::string& password) {
  std::optional<std::string> table = connection.FindTable(kPasswordTable);
  if (!table) return true;
  return Translated(connection, [&] {
    auto statement = connection.NewStatement();
    statement->ExecuteDirect("SELECT salt, hash FROM " + connection.Quote(*table));
    if (!statement->Fetch()) return true;
    const std::string salt = statement->GetText(1).value_or("");
    const std::string hash = statement->GetText(2).value_or("");
    statement->Close();
    return Sha256Hex(salt + password) == hash;
  });
}

class OdbcEngine final : public DatabaseEngine {
 public:
  explicit OdbcEngine(OdbcEngineOptions options) : options_(std::move(options)) {}

  void PrepareSharedUse(const std::string& path, const std::string& password) override {
    std::shared_ptr<OdbcConnection> connection = Connect(path, password);
    // As the SQLite engine does: readers and one writer do not block each other.
    if (connection->traits().sqlite) {
      Translated(*connection,
                 [&] { connection->NewStatement()->ExecuteDirect("PRAGMA journal_mode=WAL"); });
    }
  }

  std::unique_ptr<Database> OpenDatabase(const std::string& path,
                                         const std::string& password) override {
    return std::make_unique<OdbcDatabase>(Connect(path, password));
  }

 private:
  std::shared_ptr<OdbcConnection> Connect(const std::string& path, const std::string& password) {
    const std::string& pattern = options_.connection_template;
    // A driver may make a missing file; the administration must exist.
    std::error_code error;
    if (pattern.find("{file}") != std::string::npos && !std::filesystem::exists(path, error)) {
      throw database_errors::FileNotFound(path);
    }
    // The text shown in errors and the log names the file but hides the password.
    const std::string source =
        FillConnectionString(pattern, path, password.empty() ? "" : "********");
    std::shared_ptr<OdbcConnection> connection = OdbcConnection::Open(
        FillConnectionString(pattern, path, password), source, options_.busy_timeout);
    if (!PasswordMatches(*connection, password)) throw database_errors::WrongPassword();
    return connection;
  }

  OdbcEngineOptions options_;
};

}  // namespace

std::unique_ptr<DatabaseEngine> MakeOdbcEngine(OdbcEngineOptions options) {
  return std::make_unique<OdbcEngine>(std::move(options));
}

std::string FillConnectionString(const std::string& connection_template, const std::string& file,
                                 const std::string& password) {
  return Replaced(Replaced(connection_template, "{file}", Braced(file)), "{pwd}", Braced(password));
}

std::vector<std::string> OdbcTableNames(Database& database) {
  auto* odbc = dynamic_cast<OdbcDatabase*>(&database);
  return odbc ? odbc->TableNames() : std::vector<std::string>();
}

std::string OdbcAccessPath(const TableRecordset& recordset) {
  const auto* info = dynamic_cast<const OdbcAccessPathInfo*>(&recordset);
  return info ? info->AccessPath() : std::string();
}

}  // namespace typrosync

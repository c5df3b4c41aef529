#include "database/sqlite_engine.h"

#include <sqlite3.h>

#include <algorithm>
#include <fstream>

#include "database/database_errors.h"
#include "database/sqlite_connection.h"
#include "database/sqlite_password.h"
#include "database/sqlite_recordset.h"

namespace typrosync {
namespace {

// The first bytes of a file of the original engine.
bool IsJetFile(const std::string& path) {
  static constexpr char kJetHeader[] = "\0\x01\0\0Standard Jet DB";
  constexpr size_t kSize = sizeof(kJetHeader) - 1;
  std::ifstream file(path, std::ios::binary);
  char header[kSize] = {};
  if (!file.read(header, kSize)) return false;
  return std::equal(header, header + kSize, kJetHeader);
}

class SqliteDatabase final : public Database {
 public:
  explicit SqliteDatabase(std::shared_ptr<SqliteConnection> connection)
      : connection_(std::move(connection)) {}

  std::unique_ptr<TableRecordset> OpenTable(const std::string& table) override {
    std::optional<TableSchema> schema = ReadTableSchema(*connection_, table);
    if (!schema) throw database_errors::TableNotFound(table);
    std::unique_ptr<TableRecordset> recordset =
        MakeSqliteRecordset(connection_, std::move(*schema));
    recordset->MoveFirst();
    return recordset;
  }
  std::optional<long long> OtherWritersVersion() override { return connection_->DataVersion(); }

 private:
  std::shared_ptr<SqliteConnection> connection_;
};

class SqliteEngine final : public DatabaseEngine {
 public:
  explicit SqliteEngine(SqliteEngineOptions options) : options_(options) {}

  void PrepareSharedUse(const std::string& path, const std::string& password) override {
    Connect(path, password);
  }

  std::unique_ptr<Database> OpenDatabase(const std::string& path,
                                         const std::string& password) override {
    return std::make_unique<SqliteDatabase>(Connect(path, password));
  }

 private:
  // Opens the file, checks the password and puts it in WAL mode, in which
  // readers and one writer of several processes do not block each other.
  std::shared_ptr<SqliteConnection> Connect(const std::string& path, const std::string& password) {
    // Refused with its own text, which the caller's one diagnostic line shows.
    if (IsJetFile(path)) throw database_errors::JetDatabase(path);
    std::shared_ptr<SqliteConnection> connection =
        SqliteConnection::Open(path, options_.busy_timeout);
    if (!PasswordMatches(*connection, password)) throw database_errors::WrongPassword();
    Statement wal = connection->Prepare("PRAGMA journal_mode=WAL");
    connection->Step(wal.get());
    return connection;
  }

  SqliteEngineOptions options_;
};

}  // namespace

std::unique_ptr<DatabaseEngine> MakeSqliteEngine(SqliteEngineOptions options) {
  return std::make_unique<SqliteEngine>(options);
}

}  // namespace typrosync

#include "database/sqlite_connection.h"

#include <sqlite3.h>

#include "database/database_errors.h"
#include "database/sqlite_file_check.h"

namespace typrosync {

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = other.stmt_;
    other.stmt_ = nullptr;
  }
  return *this;
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

namespace {

// Memory statistics cost a global mutex on every allocation and nobody reads
// them. The setting is accepted only before SQLite initialises itself; once
// it has (another part of the process opened a file first), SQLite refuses
// it harmlessly and keeps its defaults.
void DisableMemoryStatistics() {
  static const bool done = [] {
    if (sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK) sqlite3_initialize();
    return true;
  }();
  (void)done;
}

// Each connection is used by one thread only, so it needs no mutex of its own.
constexpr int kSingleThread = SQLITE_OPEN_NOMUTEX;

}  // namespace

std::shared_ptr<SqliteConnection> SqliteConnection::Open(const std::string& path,
                                                         std::chrono::milliseconds busy_timeout) {
  // Before SQLite sees the file: it would write into an empty one.
  CheckDatabaseFile(path);
  DisableMemoryStatistics();
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | kSingleThread, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(db);
    throw database_errors::FileNotFound(path);
  }
  // SQLite falls back to reading only when it may not write.
  if (sqlite3_db_readonly(db, "main") == 1) {
    sqlite3_close(db);
    throw database_errors::NotWritable(path, "alleen-lezen");
  }
  std::shared_ptr<SqliteConnection> connection(new SqliteConnection(db, path));
  sqlite3_busy_timeout(db, static_cast<int>(busy_timeout.count()));
  // Reading the schema is the first access; a file of another kind fails here.
  const int schema_rc =
      sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  if (schema_rc == SQLITE_NOTADB) throw database_errors::NotADatabase(path);
  connection->Check(schema_rc);
  return connection;
}

std::shared_ptr<SqliteConnection> SqliteConnection::Create(const std::string& path) {
  sqlite3* db = nullptr;
  DisableMemoryStatistics();
  const int rc = sqlite3_open_v2(
      path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | kSingleThread, nullptr);
  if (rc != SQLITE_OK) {
    const std::string detail = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    throw database_errors::EngineFailure(path + ": " + detail);
  }
  return std::shared_ptr<SqliteConnection>(new SqliteConnection(db, path));
}

SqliteConnection::~SqliteConnection() {
  data_version_ = Statement();
  begin_ = Statement();
  commit_ = Statement();
  rollback_ = Statement();
  sqlite3_close_v2(db_);
}

Statement SqliteConnection::Prepare(const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  // Persistent: statements are kept and executed again for every record of
  // a run, so SQLite may give them memory that is not meant to be returned.
  Check(sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                           SQLITE_PREPARE_PERSISTENT, &stmt, nullptr));
  return Statement(stmt);
}

void SqliteConnection::Exec(const std::string& sql) {
  Check(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr));
}

void SqliteConnection::Fail(int rc) const {
  // The low byte is the primary code; extended codes (SQLITE_BUSY_SNAPSHOT
  // and the like) mean the same to a caller.
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      throw database_errors::RecordLocked();
    case SQLITE_NOTADB:
      throw database_errors::NotADatabase(path_);
    default:
      throw database_errors::EngineFailure(sqlite3_errmsg(db_));
  }
}

void SqliteConnection::Check(int rc) const {
  if (rc != SQLITE_OK) Fail(rc);
}

bool SqliteConnection::Step(sqlite3_stmt* stmt) const {
  const int rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  // Reset at once so a failed statement holds no lock while the error
  // travels up.
  sqlite3_reset(stmt);
  Fail(rc);
}

void SqliteConnection::DetachAll() {
  for (StatementHolder* holder : holders_) holder->Detach();
}

void SqliteConnection::BeginWrite() {
  if (write_depth_ == 0) {
    // A live read statement would pin an old snapshot and make the write fail.
    DetachAll();
    Check(Run(begin_, "BEGIN IMMEDIATE"));
  }
  ++write_depth_;
}

void SqliteConnection::EndWrite() {
  if (write_depth_ == 0) return;
  if (--write_depth_ > 0) return;
  const int rc = Run(commit_, "COMMIT");
  if (rc == SQLITE_OK) return;
  Run(rollback_, "ROLLBACK");
  Fail(rc);
}

int SqliteConnection::Run(Statement& statement, const char* sql) {
  if (!statement) {
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) return rc;
    statement = Statement(stmt);
  }
  const int rc = sqlite3_step(statement.get());
  sqlite3_reset(statement.get());
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

long long SqliteConnection::DataVersion() {
  if (!data_version_) data_version_ = Prepare("PRAGMA data_version");
  sqlite3_reset(data_version_.get());
  const long long version =
      Step(data_version_.get()) ? sqlite3_column_int64(data_version_.get(), 0) : 0;
  sqlite3_reset(data_version_.get());
  return version;
}

long long SqliteConnection::ChangeStamp() {
  // Own commits do not move data_version; the change counter covers them.
  return (DataVersion() << 32) ^ sqlite3_total_changes64(db_);
}

}  // namespace typrosync

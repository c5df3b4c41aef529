#pragma once
// One open SQLite file, shared by its Database and the recordsets opened on
// it. Owns the write lock: before this connection writes, every recordset
// lets go of its live statement, so no stale read snapshot blocks the write.
// Internal to the SQLite engine; SQLite's own types stay opaque here.

#include <chrono>
#include <memory>
#include <string>
#include <unordered_set>

struct sqlite3;
struct sqlite3_stmt;

namespace typrosync {

// An owned prepared statement.
class Statement {
 public:
  Statement() = default;
  explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}
  Statement(Statement&& other) noexcept : stmt_(other.stmt_) { other.stmt_ = nullptr; }
  Statement& operator=(Statement&& other) noexcept;
  ~Statement();
  sqlite3_stmt* get() const { return stmt_; }
  explicit operator bool() const { return stmt_ != nullptr; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// A recordset that may hold a live statement on the connection.
class StatementHolder {
 public:
  virtual ~StatementHolder() = default;
  // Keeps the current row's values and resets the live statement.
  virtual void Detach() = 0;
};

class SqliteConnection {
 public:
  // Opens an existing file read-write. Error 3024 when it is missing, 3343
  // when it is not a complete SQLite database, 3051 when it cannot be
  // written; a refused file is left as it was.
  static std::shared_ptr<SqliteConnection> Open(const std::string& path,
                                                std::chrono::milliseconds busy_timeout);
  // Creates a new file (error when it cannot be created).
  static std::shared_ptr<SqliteConnection> Create(const std::string& path);
  ~SqliteConnection();
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  sqlite3* handle() const { return db_; }
  const std::string& path() const { return path_; }

  Statement Prepare(const std::string& sql);
  void Exec(const std::string& sql);
  // Throws the VbError for an SQLite result code (3260 for a busy file).
  [[noreturn]] void Fail(int rc) const;
  // Throws unless rc is SQLITE_OK.
  void Check(int rc) const;
  // Steps a statement: true on a row, false when done, throws otherwise.
  bool Step(sqlite3_stmt* stmt) const;

  void Register(StatementHolder* holder) { holders_.insert(holder); }
  void Unregister(StatementHolder* holder) { holders_.erase(holder); }
  void DetachAll();

  // Takes the write lock (nested holders share it); 3260 when another user
  // keeps it past the busy time-out. EndWrite commits when the last holder
  // ends (a cancelled edit wrote nothing, another holder's update stays).
  void BeginWrite();
  void EndWrite();

  // Differs after every commit by this or another connection.
  long long ChangeStamp();
  // Differs after every commit by another connection that this one can see
  // (PRAGMA data_version: its own commits leave it alone).
  long long DataVersion();

 private:
  SqliteConnection(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
  // Runs one of the transaction statements; SQLite's result code.
  int Run(Statement& statement, const char* sql);

  sqlite3* db_;
  std::string path_;
  std::unordered_set<StatementHolder*> holders_;
  int write_depth_ = 0;
  Statement data_version_;
  // The transaction statements, prepared once: a run commits every stamp.
  Statement begin_, commit_, rollback_;
};

}  // namespace typrosync

#pragma once
// The SQLite engine behind the database interface of engine.h. The
// administration files are SQLite 3 databases; their storage layout (tables,
// "<Table>__<Index>" indexes, the password table) is documented in README.md.

#include <chrono>
#include <memory>

#include "database/engine.h"

namespace typrosync {

struct SqliteEngineOptions {
  // How long a write waits for another user's lock before it fails with
  // error 3260 (record locked); stands for the lock retries of the original.
  std::chrono::milliseconds busy_timeout{5000};
};

// The engine used by the program. Databases opened by it share nothing with
// each other; each is one connection to its file.
std::unique_ptr<DatabaseEngine> MakeSqliteEngine(SqliteEngineOptions options = {});

}  // namespace typrosync

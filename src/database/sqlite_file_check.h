#pragma once
// The checks an administration file passes before SQLite opens it. SQLite
// takes an empty file for a new database and writes a header into it, and
// quietly opens a write-protected file read-only; either would let a run
// deliver messages it cannot stamp. Internal to the SQLite engine.

#include <string>

namespace typrosync {

// Throws VbError 3024 when `path` does not exist, 3343 when it is not a
// complete SQLite 3 file (empty, another format, cut short) and 3051 when
// this process may not write it. Reads the first 100 bytes; writes nothing.
void CheckDatabaseFile(const std::string& path);

}  // namespace typrosync

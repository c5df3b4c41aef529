#pragma once
// The database password of an administration file: a salted SHA-256 of the
// password in the table "_typrosync_password" (salt, hash), checked when the
// file is opened. Like the original's password, an access check only: the
// file itself is not encrypted. Internal to the SQLite engine.

#include <string>

#include "database/sqlite_connection.h"

namespace typrosync {

inline constexpr char kPasswordTable[] = "_typrosync_password";

// True when the file has no password, or `password` is its password.
bool PasswordMatches(SqliteConnection& connection, const std::string& password);

// Replaces the file's password; an empty one removes it.
void StorePassword(SqliteConnection& connection, const std::string& password);

}  // namespace typrosync

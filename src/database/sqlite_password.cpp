#include "database/sqlite_password.h"

#include <sqlite3.h>

#include <random>

#include "common/hex_digits.h"
#include "database/sha256.h"
#include "database/sqlite_table_schema.h"

namespace typrosync {
namespace {

std::string NewSalt() {
  std::random_device random;
  std::string salt;
  for (int i = 0; i < 32; ++i) salt.push_back(HexDigit(random()));
  return salt;
}

std::string Text(sqlite3_stmt* stmt, int column) {
  const unsigned char* text = sqlite3_column_text(stmt, column);
  return text ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

bool PasswordMatches(SqliteConnection& connection, const std::string& password) {
  if (!ReadTableSchema(connection, kPasswordTable)) return true;
  Statement stmt = connection.Prepare("SELECT salt, hash FROM " + QuoteIdentifier(kPasswordTable));
  if (!connection.Step(stmt.get())) return true;
  return Sha256Hex(Text(stmt.get(), 0) + password) == Text(stmt.get(), 1);
}

void StorePassword(SqliteConnection& connection, const std::string& password) {
  const std::string table = QuoteIdentifier(kPasswordTable);
  connection.Exec("DROP TABLE IF EXISTS " + table);
  if (password.empty()) return;
  connection.Exec("CREATE TABLE " + table + " (salt TEXT NOT NULL, hash TEXT NOT NULL)");
  Statement stmt = connection.Prepare("INSERT INTO " + table + " (salt, hash) VALUES (?1, ?2)");
  const std::string salt = NewSalt();
  const std::string hash = Sha256Hex(salt + password);
  sqlite3_bind_text(stmt.get(), 1, salt.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(stmt.get(), 2, hash.c_str(), -1, SQLITE_TRANSIENT);
  connection.Step(stmt.get());
}

}  // namespace typrosync

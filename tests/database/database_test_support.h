#pragma once
// Helpers for the database tests: small SQLite files in a temporary folder,
// written in the administration layout, and a second user of such a file.

#include <memory>
#include <string>
#include <vector>

#include "common/user_interface.h"
#include "common/variant.h"
#include "common/vb_error.h"
#include "database/sqlite_administration_writer.h"
#include "database/sqlite_engine.h"
#include "support/test_server.h"

struct sqlite3;

namespace typrosync::test_support {

// Writes a new file with the given tables, rows (per table, in order) and password.
struct TestTable {
  TableDefinition definition;
  std::vector<std::string> fields;  // fields of the rows below
  std::vector<std::vector<Variant>> rows;
};
void WriteDatabase(const std::string& path, const std::vector<TestTable>& tables,
                   const std::string& password = "");

// Another connection to the file, as another program would hold it.
class OtherUser {
 public:
  explicit OtherUser(const std::string& path);
  ~OtherUser();
  OtherUser(const OtherUser&) = delete;
  OtherUser& operator=(const OtherUser&) = delete;
  // Runs SQL; false when SQLite refuses it (for example because it is busy).
  bool Exec(const std::string& sql);

 private:
  sqlite3* db_ = nullptr;
};

// A user interface that counts the times pending events were let through.
class CountingUi : public UserInterface {
 public:
  void ProcessPendingEvents() override { ++events; }
  void SetBusyPointer(bool) override {}
  void ShowMessage(const std::string&, MessageIcon, const std::string&) override {}
  int events = 0;
};

// The number of a VbError thrown by `action`, or 0 when none is thrown.
template <typename Action>
long ErrorNumberOf(Action&& action) {
  try {
    action();
  } catch (const VbError& error) {
    return error.number();
  }
  return 0;
}

}  // namespace typrosync::test_support

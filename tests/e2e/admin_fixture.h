#pragma once
// Administrations and programs as an operator handles them: an
// administration made by `typrosync-admin create` in a temporary folder, rows
// added with the sqlite3 command-line client, and the built programs run as
// child processes with their output captured.

#include <string>
#include <utility>
#include <vector>

#include "support/test_server.h"

namespace typrosync::test_support {

struct ProgramResult {
  int exit_code = -1;  // -1 when the program did not end normally
  std::string out;
  std::string err;
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// Runs `program` with `args` and the process environment plus `extra`, stdin
// from /dev/null, waits for it and returns its exit status and output.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const Environment& extra = {});

// A text as an SQL string literal.
std::string Sq(const std::string& text);

class TestAdministratie {
 public:
  // Creates an administration with `admin_tool` ("create DIR").
  explicit TestAdministratie(const std::string& admin_tool);

  // The data folder, ending in "/".
  const std::string& folder() const { return dir_.path(); }

  // Runs SQL on TallyraDB.mdb; throws std::runtime_error when it fails.
  void Sql(const std::string& sql) const;
  // The first column of the first row of a query ("" when there is none).
  std::string Scalar(const std::string& sql) const;

 private:
  TempDir dir_;
};

}  // namespace typrosync::test_support

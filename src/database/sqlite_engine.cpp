#include "database/sqlite_engine.h"

#include "common/vb_error.h"

namespace typrosync {
namespace {

class SqliteEngine : public DatabaseEngine {
 public:
  explicit SqliteEngine(SqliteEngineOptions options) : options_(options) {}
  void PrepareSharedUse(const std::string&, const std::string&) override {
    throw VbError(3024, "not yet available");
  }
  std::unique_ptr<Database> OpenDatabase(const std::string&, const std::string&) override {
    throw VbError(3024, "not yet available");
  }

 private:
  SqliteEngineOptions options_;
};

}  // namespace

std::unique_ptr<DatabaseEngine> MakeSqliteEngine(SqliteEngineOptions options) {
  return std::make_unique<SqliteEngine>(options);
}

}  // namespace typrosync

// The SQLite engine against bare SQLite statements doing the same work, on
// a sample administration of 1,000,000 order lines: stepping through the
// "RelNr" index (one row and its RelNr per iteration) and seeking a
// customer's first line (one seek and its OrderNr per iteration).

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "admin_schema.h"
#include "database/sqlite_engine.h"
#include "sample_data.h"

namespace typrosync {
namespace {

constexpr long kLines = 1000000;
constexpr int kCustomers = 5000;

// The sample, made once per run in a temporary folder.
class Sample {
 public:
  Sample() {
    std::string pattern = (std::filesystem::temp_directory_path() / "typro-bench-XXXXXX").string();
    folder_ = std::string(mkdtemp(pattern.data())) + "/";
    admin::CreateAdministration(folder_, "", [](AdministrationWriter& w) {
      admin::FillSample(w, {kCustomers, kLines, 1});
    });
  }
  ~Sample() { std::filesystem::remove_all(folder_); }
  std::string database() const { return folder_ + "TallyraDB.mdb"; }

 private:
  std::string folder_;
};

const Sample& TheSample() {
  static const Sample sample;
  return sample;
}

// Relation numbers to seek, spread over all customers.
std::vector<int64_t> SeekKeys() {
  std::vector<int64_t> keys;
  for (int i = 0; i < 4096; ++i) keys.push_back(10001 + (i * 7919) % kCustomers);
  return keys;
}

std::string AllFields(sqlite3* db) {
  std::string list = "rowid";
  sqlite3_stmt* info = nullptr;
  sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info('Ordergegevens')", -1, &info, nullptr);
  while (sqlite3_step(info) == SQLITE_ROW) {
    list +=
        std::string(", \"") + reinterpret_cast<const char*>(sqlite3_column_text(info, 0)) + "\"";
  }
  sqlite3_finalize(info);
  return list;
}

class Bare {
 public:
  explicit Bare(const std::string& sql) {
    sqlite3_open_v2(TheSample().database().c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    std::string text = sql;
    text.replace(text.find("%s"), 2, AllFields(db_));
    sqlite3_prepare_v2(db_, text.c_str(), -1, &stmt_, nullptr);
  }
  ~Bare() {
    sqlite3_finalize(stmt_);
    sqlite3_close(db_);
  }
  sqlite3_stmt* stmt() { return stmt_; }
  // The field after the row id, as a Variant-like read of its stored number.
  int Column(const char* name) {
    for (int i = 0; i < sqlite3_column_count(stmt_); ++i) {
      if (std::string(sqlite3_column_name(stmt_, i)) == name) return i;
    }
    return -1;
  }

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
};

void EngineStepRelNr(benchmark::State& state) {
  auto engine = MakeSqliteEngine();
  auto db = engine->OpenDatabase(TheSample().database(), "");
  auto rs = db->OpenTable("Ordergegevens");
  rs->SetIndex("RelNr");
  rs->MoveFirst();
  for (auto _ : state) {
    benchmark::DoNotOptimize(rs->Field("RelNr"));
    rs->MoveNext();
    if (rs->IsEOF()) rs->MoveFirst();
  }
  state.SetItemsProcessed(state.iterations());
}

void BareStepRelNr(benchmark::State& state) {
  Bare bare("SELECT %s FROM Ordergegevens ORDER BY RelNr COLLATE NOCASE, rowid");
  sqlite3_stmt* stmt = bare.stmt();
  const int relnr = bare.Column("RelNr");
  sqlite3_step(stmt);
  for (auto _ : state) {
    if (sqlite3_column_type(stmt, relnr) == SQLITE_INTEGER) {
      benchmark::DoNotOptimize(sqlite3_column_int64(stmt, relnr));
    }
    if (sqlite3_step(stmt) != SQLITE_ROW) {
      sqlite3_reset(stmt);
      sqlite3_step(stmt);
    }
  }
  state.SetItemsProcessed(state.iterations());
}

void EngineSeekRelNr(benchmark::State& state) {
  auto engine = MakeSqliteEngine();
  auto db = engine->OpenDatabase(TheSample().database(), "");
  auto rs = db->OpenTable("Ordergegevens");
  rs->SetIndex("RelNr");
  const std::vector<int64_t> keys = SeekKeys();
  size_t next = 0;
  for (auto _ : state) {
    rs->Seek(keys[next++ % keys.size()]);
    if (!rs->NoMatch()) benchmark::DoNotOptimize(rs->Field("OrderNr"));
  }
  state.SetItemsProcessed(state.iterations());
}

void BareSeekRelNr(benchmark::State& state) {
  Bare bare(
      "SELECT %s FROM Ordergegevens WHERE RelNr COLLATE NOCASE = ?1 ORDER BY RelNr COLLATE NOCASE, "
      "rowid");
  sqlite3_stmt* stmt = bare.stmt();
  const int order = bare.Column("OrderNr");
  const std::vector<int64_t> keys = SeekKeys();
  size_t next = 0;
  for (auto _ : state) {
    sqlite3_reset(stmt);
    sqlite3_bind_int64(stmt, 1, keys[next++ % keys.size()]);
    if (sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, order) == SQLITE_INTEGER) {
      benchmark::DoNotOptimize(sqlite3_column_int64(stmt, order));
    }
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(EngineStepRelNr);
BENCHMARK(BareStepRelNr);
BENCHMARK(EngineSeekRelNr);
BENCHMARK(BareSeekRelNr);

}  // namespace
}  // namespace typrosync

BENCHMARK_MAIN();

// The ODBC engine through the SQLite ODBC driver against the SQLite engine,
// on the same sample administration of 1,000,000 order lines: stepping
// through the "RelNr" index (one row and its RelNr per iteration) and
// seeking a customer's first line (one seek and its OrderNr per iteration);
// and the same walk reading every field of each line, the worst case for the
// ODBC engine, whose blocks hold only the fields asked for.
// The ratio of the two engines' times per item is what README reports.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "admin_schema.h"
#include "database/odbc_engine.h"
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
    std::string pattern = (std::filesystem::temp_directory_path() / "typro-odbc-XXXXXX").string();
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

std::unique_ptr<DatabaseEngine> SqliteEngine() { return MakeSqliteEngine(); }
std::unique_ptr<DatabaseEngine> OdbcSqliteEngine() {
  return MakeOdbcEngine({"Driver=SQLite3;Database={file}"});
}

template <std::unique_ptr<DatabaseEngine> (*Make)()>
void StepRelNr(benchmark::State& state) {
  auto engine = Make();
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

template <std::unique_ptr<DatabaseEngine> (*Make)()>
void StepRelNrAllFields(benchmark::State& state) {
  static const char* const kFields[] = {"RelnrOrderdatumRegNrIndex",
                                        "RelNr",
                                        "OrderNr",
                                        "RegNr",
                                        "OrderDatum",
                                        "LeverDatum",
                                        "MagazijnBonNr",
                                        "ArtNr",
                                        "Omschrijving1",
                                        "Omschrijving2",
                                        "Aantal",
                                        "PrijsPer",
                                        "VerkoopPrijs",
                                        "FactuurGewicht",
                                        "KortingPercentage",
                                        "Referentie",
                                        "ArtikelGewicht",
                                        "SILOnaam",
                                        "Artikelgroep"};
  auto engine = Make();
  auto db = engine->OpenDatabase(TheSample().database(), "");
  auto rs = db->OpenTable("Ordergegevens");
  rs->SetIndex("RelNr");
  rs->MoveFirst();
  for (auto _ : state) {
    for (const char* field : kFields) benchmark::DoNotOptimize(rs->Field(field));
    rs->MoveNext();
    if (rs->IsEOF()) rs->MoveFirst();
  }
  state.SetItemsProcessed(state.iterations());
}

template <std::unique_ptr<DatabaseEngine> (*Make)()>
void SeekRelNr(benchmark::State& state) {
  auto engine = Make();
  auto db = engine->OpenDatabase(TheSample().database(), "");
  auto rs = db->OpenTable("Ordergegevens");
  rs->SetIndex("RelNr");
  std::vector<int64_t> keys;
  for (int i = 0; i < 4096; ++i) keys.push_back(10001 + (i * 7919) % kCustomers);
  size_t next = 0;
  for (auto _ : state) {
    rs->Seek(keys[next++ % keys.size()]);
    if (!rs->NoMatch()) benchmark::DoNotOptimize(rs->Field("OrderNr"));
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(StepRelNr<SqliteEngine>)->Name("StepRelNr/SqliteEngine");
BENCHMARK(StepRelNr<OdbcSqliteEngine>)->Name("StepRelNr/OdbcSqlite3");
BENCHMARK(StepRelNrAllFields<SqliteEngine>)->Name("StepRelNrAllFields/SqliteEngine");
BENCHMARK(StepRelNrAllFields<OdbcSqliteEngine>)->Name("StepRelNrAllFields/OdbcSqlite3");
BENCHMARK(SeekRelNr<SqliteEngine>)->Name("SeekRelNr/SqliteEngine");
BENCHMARK(SeekRelNr<OdbcSqliteEngine>)->Name("SeekRelNr/OdbcSqlite3");

}  // namespace
}  // namespace typrosync

BENCHMARK_MAIN();

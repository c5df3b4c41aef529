// The order run over a large sample administration (selection, routing and
// stamping, with builders that send nothing) next to the bare SQLite work the
// same pass cannot avoid: a full scan of Ordergegevens, one index seek and
// step per customer, the meta look-ups and the same stamp updates.
//
// The sample (1,000,000 order lines unless TYPROSYNC_BENCH_LINES says
// otherwise) is made once by typrosync-admin and kept in the temp folder;
// every iteration works on a fresh copy of it, copied outside the timing.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/locale_settings.h"
#include "database/administratie.h"
#include "database/sqlite_engine.h"
#include "orders/pending_orders.h"
#include "orders/routing.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;

constexpr LocalDateTime kMoment{2026, 12, 5, 21, 0, 0};
constexpr const char* kStempel = "20261205210000";

long SampleLines() {
  const char* lines = std::getenv("TYPROSYNC_BENCH_LINES");
  return lines != nullptr ? std::atol(lines) : 1000000;
}

// The pristine sample, made on first use.
fs::path Sample() {
  const long lines = SampleLines();
  const fs::path folder =
      fs::temp_directory_path() / ("typro-orders-bench-" + std::to_string(lines));
  if (!fs::exists(folder / "TallyraDB.mdb")) {
    fs::remove_all(folder);
    const std::string command = std::string(TYPROSYNC_ADMIN) + " sample " + folder.string() +
                                " --customers 20000 --lines " + std::to_string(lines) + " --seed 7";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("sample failed");
  }
  return folder;
}

// A fresh working copy of the sample; its data folder with a final "/".
std::string FreshCopy(const fs::path& sample) {
  const fs::path work = fs::temp_directory_path() / "typro-orders-bench-work";
  fs::create_directories(work);
  for (const char* file : {"TallyraDB.mdb", "Archief.mdb"}) {
    fs::copy_file(sample / file, work / file, fs::copy_options::overwrite_existing);
  }
  for (const char* extra : {"TallyraDB.mdb-wal", "TallyraDB.mdb-shm"}) fs::remove(work / extra);
  return work.string() + "/";
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

class FixedClock : public Clock {
 public:
  LocalDateTime Now() override { return kMoment; }
};

class SilentView : public OrdersView {
 public:
  void SetStatus(const std::string&) override {}
  void SetProgress(double) override {}
  void ShowDeliveryLines(const DeliveryLines& lines) override { rows += lines.size(); }
  void ProcessPendingEvents() override {}
  void SetBusyPointer(bool) override {}
  void ShowMessage(const std::string&, MessageIcon, const std::string&) override {}
  size_t rows = 0;
};

class NoopBuilders : public MessageBuilders {
 public:
  bool BouwBerichtCropR(const std::string&) override { return true; }
  void BouwBerichtAgroVision(const std::string&) override {}
};

void BM_OrderPass(benchmark::State& state) {
  const fs::path sample = Sample();
  size_t rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string data_map = FreshCopy(sample);
    state.ResumeTiming();
    auto engine = MakeSqliteEngine();
    SilentView view;
    FixedClock clock;
    NoopBuilders builders;
    RunState run_state;
    auto admin = OpenAdministratie(data_map, *engine, view);
    if (!admin) throw std::runtime_error("administration not opened");
    RunLog log(clock, view, "BENCH");
    log.SetDataMap(data_map);
    Separators separators;
    OrderContext ctx{run_state, *admin, view, log, clock, builders, separators};
    LeesToelatingsnummers(ctx);
    LeesOrders(ctx);
    rows = view.rows;
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_OrderPass)->Unit(benchmark::kMillisecond)->Iterations(3);

// The bare passes, written straight against the SQLite files.
class Bare {
 public:
  explicit Bare(const std::string& data_map) {
    if (sqlite3_open((data_map + "TallyraDB.mdb").c_str(), &db_) != SQLITE_OK) {
      throw std::runtime_error("open");
    }
    sqlite3_busy_timeout(db_, 5000);
    Exec("PRAGMA journal_mode=WAL");
  }
  ~Bare() {
    for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
    sqlite3_close(db_);
  }

  sqlite3_stmt* Prepared(const std::string& sql) {
    sqlite3_stmt*& stmt = statements_[sql];
    if (stmt == nullptr && sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      throw std::runtime_error(sqlite3_errmsg(db_));
    }
    sqlite3_reset(stmt);
    return stmt;
  }
  void Exec(const char* sql) { sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

 private:
  sqlite3* db_ = nullptr;
  std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

std::string Text(sqlite3_stmt* stmt, int column) {
  const unsigned char* text = sqlite3_column_text(stmt, column);
  return text == nullptr ? std::string() : reinterpret_cast<const char*>(text);
}

struct Pending {
  sqlite3_int64 relnr;
  std::vector<sqlite3_int64> orders;  // one per pending line
};

std::unordered_set<std::string> ArticlesWithAdmission(Bare& db) {
  std::unordered_set<std::string> articles;
  sqlite3_stmt* scan = db.Prepared("SELECT Artikelnummer, ToelatingsNummer FROM Artikelen");
  while (sqlite3_step(scan) == SQLITE_ROW) {
    if (!Text(scan, 1).empty()) articles.insert(Text(scan, 0));
  }
  return articles;
}

std::vector<sqlite3_int64> Customers(Bare& db) {
  std::vector<sqlite3_int64> customers;
  std::unordered_set<sqlite3_int64> seen;
  sqlite3_stmt* scan =
      db.Prepared("SELECT MagazijnBonNr, RelNr, OrderNr FROM Ordergegevens ORDER BY rowid");
  while (sqlite3_step(scan) == SQLITE_ROW) {
    if (Text(scan, 0).empty()) continue;
    if (seen.insert(sqlite3_column_int64(scan, 1)).second) {
      customers.push_back(sqlite3_column_int64(scan, 1));
    }
  }
  return customers;
}

bool Delivered(Bare& db, sqlite3_int64 order) {
  sqlite3_stmt* meta = db.Prepared(
      "SELECT LeveringNaarAgroVision, LeveringNaarDacom FROM OrderGegevensMeta "
      "WHERE OrderNr COLLATE NOCASE = ?1");
  sqlite3_bind_int64(meta, 1, order);
  return sqlite3_step(meta) == SQLITE_ROW && (!Text(meta, 0).empty() || !Text(meta, 1).empty());
}

std::vector<sqlite3_int64> PendingOrders(Bare& db, sqlite3_int64 relnr,
                                         const std::unordered_set<std::string>& articles) {
  std::vector<sqlite3_int64> orders;
  sqlite3_stmt* lines = db.Prepared(
      "SELECT OrderDatum, MagazijnBonNr, OrderNr, ArtNr FROM Ordergegevens "
      "WHERE RelNr COLLATE NOCASE = ?1 ORDER BY RelNr COLLATE NOCASE, rowid");
  sqlite3_bind_int64(lines, 1, relnr);
  while (sqlite3_step(lines) == SQLITE_ROW) {
    if (Text(lines, 0).substr(0, 4) < "2018" || Text(lines, 1).empty()) continue;
    const sqlite3_int64 order = sqlite3_column_int64(lines, 2);
    if (Delivered(db, order) || !articles.contains(Text(lines, 3))) continue;
    orders.push_back(order);
  }
  return orders;
}

Bestemming Route(Bare& db, sqlite3_int64 relnr, const std::vector<std::string>& groups) {
  Bestemming bestemming;
  sqlite3_stmt* relatie =
      db.Prepared("SELECT Relatiegroep FROM RelatieGegevens WHERE RelNr COLLATE NOCASE = ?1");
  sqlite3_bind_int64(relatie, 1, relnr);
  if (sqlite3_step(relatie) != SQLITE_ROW) return bestemming;
  const std::string selection = Text(relatie, 0);
  for (size_t i = 0; i < selection.size() && i < groups.size(); ++i) {
    if (selection[i] == 'X' || selection[i] == 'x') DetermineDestination(groups[i], bestemming);
  }
  return bestemming;
}

void Stamp(Bare& db, const std::vector<sqlite3_int64>& orders, const char* field) {
  sqlite3_stmt* update = db.Prepared(std::string("UPDATE OrderGegevensMeta SET ") + field +
                                     " = ?1 WHERE OrderNr COLLATE NOCASE = ?2");
  for (sqlite3_int64 order : orders) {
    sqlite3_reset(update);
    sqlite3_bind_text(update, 1, kStempel, -1, SQLITE_STATIC);
    sqlite3_bind_int64(update, 2, order);
    sqlite3_step(update);
  }
}

void BM_BareSqlite(benchmark::State& state) {
  const fs::path sample = Sample();
  size_t rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string data_map = FreshCopy(sample);
    state.ResumeTiming();
    Bare db(data_map);
    const auto articles = ArticlesWithAdmission(db);
    std::vector<std::string> groups;
    sqlite3_stmt* codes = db.Prepared("SELECT Omschrijving FROM TabelRelatiegroepen ORDER BY Code");
    while (sqlite3_step(codes) == SQLITE_ROW) groups.push_back(Text(codes, 0));
    rows = 0;
    for (sqlite3_int64 relnr : Customers(db)) {
      const std::vector<sqlite3_int64> orders = PendingOrders(db, relnr, articles);
      rows += orders.size();
      if (orders.empty()) continue;
      const Bestemming bestemming = Route(db, relnr, groups);
      if (bestemming.bCropR) Stamp(db, orders, "LeveringNaarDacom");
      if (bestemming.bAgroVision) Stamp(db, orders, "LeveringNaarAgroVision");
    }
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_BareSqlite)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace typrosync

BENCHMARK_MAIN();

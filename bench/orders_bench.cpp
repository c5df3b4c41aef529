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
#include "bare_pass.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;

constexpr LocalDateTime kMoment{2026, 12, 5, 21, 0, 0};

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

void BM_BareSqlite(benchmark::State& state) {
  const fs::path sample = Sample();
  size_t rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string data_map = FreshCopy(sample);
    state.ResumeTiming();
    rows = bench::BarePass(data_map);
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_BareSqlite)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace typrosync

BENCHMARK_MAIN();

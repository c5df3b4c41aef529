// A whole sync run (open, read, route, build, send, stamp, log) over a sample
// administration of 100,000 order lines, once with the real transports
// against the local Crop-R receiver (HTTPS) and the local AgroVision server
// (FTP), once with the transports replaced by a no-op that acknowledges at
// once. Both in one benchmark run, so their times can be compared directly.
//
// Counters: messages/s (messages handed to a transport per second of run
// time) and outside_transport (the share of the run spent outside the
// transport calls). Every iteration runs on a fresh copy of the sample,
// copied outside the timing; the sample itself is made once by typrosync-admin.
// TYPROSYNC_BENCH_LINES changes the number of order lines.
//
// BM_HeadlessAgainstBare holds the whole headless pass (the typrosync program
// itself, started without a display, sending to the local receivers) against
// the bare SQLite pass doing the same database work on a fresh copy of the
// same sample, at 250,000, 500,000 and 1,000,000 lines (50 per customer, 3 %
// of the customers routed, as in a supplier's administration).
// Its counters give both times and their ratio. The samples are made once in
// TYPROSYNC_BENCH_SAMPLES (default: the temp folder); TYPROSYNC_BENCH_PROGRAM
// names another typrosync to measure (an older build, for comparison).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "common/clock.h"
#include "database/sqlite_engine.h"
#include "message/delivery_message.h"
#include "bare_pass.h"
#include "run/console_view.h"
#include "run/run_sequence.h"
#include "support/test_server.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

long SampleLines() {
  const char* lines = std::getenv("TYPROSYNC_BENCH_LINES");
  return lines != nullptr ? std::atol(lines) : 100000;
}

// The pristine sample, made on first use and kept in the temp folder.
fs::path Sample() {
  const long lines = SampleLines();
  const fs::path folder = fs::temp_directory_path() / ("typro-run-bench-" + std::to_string(lines));
  if (!fs::exists(folder / "TallyraDB.mdb")) {
    fs::remove_all(folder);
    const std::string command = std::string(TYPROSYNC_ADMIN) + " sample " + folder.string() +
                                " --customers 1000 --lines " + std::to_string(lines) +
                                " --seed 11 >/dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("sample failed");
  }
  return folder;
}

// The two local receivers, started once for the whole benchmark run.
struct Receivers {
  test_support::TempDir dir;
  test_support::TempDir ftp_root;
  test_support::TestCertificate certificate;
  std::unique_ptr<test_support::HttpsTestServer> https;
  std::unique_ptr<test_support::FtpTestServer> ftp;

  Receivers() {
    certificate = test_support::MakeTestCertificate(dir.path(), "cropr");
    test_support::WriteFileBytes(dir.path() + "reply", "<ok/>");
    test_support::HttpsServerOptions https_options;
    https_options.certificate = certificate;
    https_options.reply_file = dir.path() + "reply";
    https = std::make_unique<test_support::HttpsTestServer>(https_options);
    test_support::FtpServerOptions ftp_options;
    ftp_options.root = ftp_root.path();
    ftp = std::make_unique<test_support::FtpTestServer>(ftp_options);
  }
};

Receivers& LocalReceivers() {
  static Receivers receivers;
  return receivers;
}

// Time spent inside the transports and the messages handed to them.
struct TransportTally {
  steady_clock::duration time{};
  long messages = 0;
};

// Times a real sender, or stands in for it with an immediate "<ok/>".
class TimedHttps : public HttpsSender {
 public:
  TimedHttps(std::unique_ptr<HttpsSender> real, TransportTally& tally)
      : real_(std::move(real)), tally_(tally) {}
  HttpsReply VerstuurViaHTTPS(const std::string& message) override {
    const auto start = steady_clock::now();
    HttpsReply reply = real_ ? real_->VerstuurViaHTTPS(message) : HttpsReply{true, "<ok/>", ""};
    tally_.time += steady_clock::now() - start;
    ++tally_.messages;
    return reply;
  }

 private:
  std::unique_ptr<HttpsSender> real_;
  TransportTally& tally_;
};

class TimedFtp : public FtpSender {
 public:
  TimedFtp(std::unique_ptr<FtpSender> real, TransportTally& tally)
      : real_(std::move(real)), tally_(tally) {}
  FtpOutcome VerstuurViaFTP(const std::string& message, const std::string& file_name) override {
    const auto start = steady_clock::now();
    const FtpOutcome outcome =
        real_ ? real_->VerstuurViaFTP(message, file_name) : FtpOutcome::kUploaded;
    tally_.time += steady_clock::now() - start;
    ++tally_.messages;
    return outcome;
  }

 private:
  std::unique_ptr<FtpSender> real_;
  TransportTally& tally_;
};

std::unique_ptr<HttpsSender> RealHttps(const std::string& data_map) {
  HttpsOptions options;
  options.url = LocalReceivers().https->url();
  options.ca_bundle = LocalReceivers().certificate.cert;
  return MakeHttpsSender(data_map, options);
}

std::unique_ptr<FtpSender> RealFtp(const std::string& data_map, UserInterface& ui) {
  FtpDeliveryOptions options;
  options.port = LocalReceivers().ftp->port();
  return MakeFtpSender(data_map, ui, options);
}

// A fresh working copy of the sample with the FTP settings; its data folder.
std::string FreshCopy() {
  const fs::path work = fs::temp_directory_path() / "typro-run-bench-work";
  fs::remove_all(work);
  fs::copy(Sample(), work, fs::copy_options::recursive);
  std::ofstream ini(work / "agrovision.ini", std::ios::binary);
  ini << "127.0.0.1\r\n" << LocalReceivers().ftp->port() << "\r\nagro\r\ngeheim\r\n";
  return work.string() + "/";
}

void BM_SyncRun(benchmark::State& state, bool real_transports) {
  LocalReceivers();
  const fs::path werkmap = fs::current_path();
  std::unique_ptr<Clock> clock = MakeSystemClock();
  std::unique_ptr<DatabaseEngine> engine = MakeSqliteEngine();
  std::ostream silent(nullptr);
  TransportTally tally;
  steady_clock::duration total{};
  for (auto _ : state) {
    state.PauseTiming();
    const std::string folder = FreshCopy();
    state.ResumeTiming();
    const auto start = steady_clock::now();
    ConsoleView view(silent, silent);
    TimedHttps https(real_transports ? RealHttps(folder) : nullptr, tally);
    TimedFtp ftp(real_transports ? RealFtp(folder, view) : nullptr, tally);
    RunSequence run({*clock, *engine, "BENCH", &https, &ftp}, view);
    if (RunToEnd(run, folder) != RunOutcome::kFinished) state.SkipWithError("run did not finish");
    total += steady_clock::now() - start;
    fs::current_path(werkmap);  // opening the administration moved into the copy
  }
  const double seconds = std::chrono::duration<double>(total).count();
  const double transport = std::chrono::duration<double>(tally.time).count();
  state.counters["messages"] = static_cast<double>(tally.messages) / state.iterations();
  state.counters["run_s"] = seconds / state.iterations();
  state.counters["transport_s"] = transport / state.iterations();
  state.counters["messages/s"] = seconds > 0 ? tally.messages / seconds : 0;
  state.counters["outside_transport"] = seconds > 0 ? 1.0 - transport / seconds : 0;
}

fs::path RatioSample(long lines) {
  const char* base = std::getenv("TYPROSYNC_BENCH_SAMPLES");
  const fs::path folder = fs::path(base != nullptr ? base : fs::temp_directory_path().string()) /
                          ("sample-" + std::to_string(lines) + "-routed-3");
  if (!fs::exists(folder / "TallyraDB.mdb")) {
    fs::remove_all(folder);
    const std::string command = std::string(TYPROSYNC_ADMIN) + " sample " + folder.string() +
                                " --customers " + std::to_string(lines / 50) + " --lines " +
                                std::to_string(lines) + " --seed 7 --routed 3 >/dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("sample failed");
  }
  return folder;
}

std::string RatioCopy(const fs::path& sample, const char* name) {
  const fs::path work = fs::temp_directory_path() / name;
  fs::remove_all(work);
  fs::copy(sample, work, fs::copy_options::recursive);
  std::ofstream ini(work / "agrovision.ini", std::ios::binary);
  ini << "127.0.0.1\r\n" << LocalReceivers().ftp->port() << "\r\nagro\r\ngeheim\r\n";
  return work.string() + "/";
}

void BM_HeadlessAgainstBare(benchmark::State& state) {
  Receivers& receivers = LocalReceivers();
  // The program's own senders, pointed at the local receivers as an operator would.
  setenv("TYPROSYNC_CROPR_URL", receivers.https->url().c_str(), 1);
  setenv("TYPROSYNC_CA_BUNDLE", receivers.certificate.cert.c_str(), 1);
  setenv("TYPROSYNC_FTP_PORT", std::to_string(receivers.ftp->port()).c_str(), 1);
  const fs::path sample = RatioSample(state.range(0));
  const char* program = std::getenv("TYPROSYNC_BENCH_PROGRAM");
  const std::string command_start = std::string("env -u DISPLAY -u WAYLAND_DISPLAY ") +
                                    (program != nullptr ? program : TYPROSYNC_PROGRAM) + " ";
  double whole = 0, bare = 0;
  for (auto _ : state) {
    const std::string folder = RatioCopy(sample, "typro-ratio-whole");
    const std::string command = command_start + folder + " >" + folder + "out.txt 2>&1";
    const auto start = steady_clock::now();
    if (std::system(command.c_str()) != 0) state.SkipWithError("run did not finish");
    const double whole_s = std::chrono::duration<double>(steady_clock::now() - start).count();
    const std::string bare_folder = RatioCopy(sample, "typro-ratio-bare");
    const auto bare_start = steady_clock::now();
    bench::BarePass(bare_folder);
    bare += std::chrono::duration<double>(steady_clock::now() - bare_start).count();
    whole += whole_s;
    state.SetIterationTime(whole_s);
  }
  state.counters["whole_s"] = whole / state.iterations();
  state.counters["bare_s"] = bare / state.iterations();
  state.counters["ratio"] = bare > 0 ? whole / bare : 0;
}

BENCHMARK(BM_HeadlessAgainstBare)
    ->Arg(250000)
    ->Arg(500000)
    ->Arg(1000000)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseManualTime();

BENCHMARK_CAPTURE(BM_SyncRun, local_receivers, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_SyncRun, noop_transports, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

}  // namespace
}  // namespace typrosync

BENCHMARK_MAIN();

// End to end: what an unattended `typrosync DATAFOLDER` meets besides an
// ordinary run: a second run at the same time, a stop signal in the middle
// of a send, read-only, empty and relatively named administrations.
// Each case must end without a message delivered twice or an order lost.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <regex>

#include "e2e/run_scene.h"

namespace typrosync::test_support {
namespace {

namespace fs = std::filesystem;

class UnattendedRunTest : public ::testing::Test, public RunScene {
 protected:
  std::unique_ptr<RunningProgram> Start() const {
    return std::make_unique<RunningProgram>(TYPROSYNC_PROGRAM, std::vector{folder()}, Env());
  }
  bool Received(int n) const { return receivers_.Requests().size() >= static_cast<size_t>(n); }
  // The customer numbers of the Crop-R requests, in order.
  std::vector<std::string> CropRCustomers() const {
    std::vector<std::string> customers;
    static const std::regex kKlant("A203813KlantNummer=\"([0-9]+)\"");
    for (const std::string& request : receivers_.Requests()) {
      std::smatch match;
      customers.push_back(std::regex_search(request, match, kKlant) ? match[1].str() : "?");
    }
    return customers;
  }
};

// The second run starts while the first waits for its first reply. It must
// find the lock, say so on standard error and leave everything to the first.
TEST_F(UnattendedRunTest, SecondRunAtTheSameTimeSendsNothingAndExitsThree) {
  for (const char* n : {"1", "2", "3"}) {
    AddCustomerWithLine(std::string("3000") + n, "X", std::string("800") + n);
    AddCustomerWithLine(std::string("2000") + n, " X", std::string("700") + n);
  }
  receivers_.StartCropR("<OK/>", true);
  receivers_.StartFtp(folder());
  std::unique_ptr<RunningProgram> first = Start();
  ASSERT_TRUE(WaitUntil([&] { return Received(1); }));
  std::unique_ptr<RunningProgram> second = Start();
  // Old behaviour shows as a second request while the first is held.
  ASSERT_TRUE(WaitUntil([&] { return second->Ended() || Received(2); }));
  receivers_.Release();
  const ProgramResult one = first->Wait(), two = second->Wait();
  EXPECT_EQ(0, one.exit_code) << one.err;
  EXPECT_EQ(3, two.exit_code) << two.err;
  EXPECT_EQ(1u, Count(two.err, "\n")) << two.err;
  EXPECT_EQ(1u, Count(two.err, "'" + folder() + "'")) << two.err;
  EXPECT_EQ(1u, Count(two.err, "proces " + std::to_string(first->pid()))) << two.err;

  EXPECT_EQ(CropRCustomers(), (std::vector<std::string>{"30001", "30002", "30003"}));
  const std::vector<std::string> uploads = receivers_.Uploads();
  ASSERT_EQ(uploads.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(uploads[i].starts_with("2000" + std::to_string(i + 1)));
  for (const char* n : {"1", "2", "3"}) {
    EXPECT_TRUE(IsStamp(Mark(std::string("800") + n, "LeveringNaarDacom"))) << n;
    EXPECT_TRUE(IsStamp(Mark(std::string("700") + n, "LeveringNaarAgroVision"))) << n;
  }
  const std::string log = admin_.Logs();
  EXPECT_EQ(1u, Count(log, "Datapath")) << log;
  EXPECT_EQ(6u, Count(log, "Relatienr.")) << log;
}

// The kernel drops the lock of a killed run: the next run goes ahead.
TEST_F(UnattendedRunTest, KilledRunLeavesNoLockBehind) {
  AddCustomerWithLine("30001", "X", "8001");
  receivers_.StartCropR("<OK/>", true);
  std::unique_ptr<RunningProgram> killed = Start();
  ASSERT_TRUE(WaitUntil([&] { return Received(1); }));
  kill(killed->pid(), SIGKILL);
  killed->Wait();
  receivers_.Release();
  EXPECT_EQ(0, Sync(folder()).exit_code);
  EXPECT_TRUE(IsStamp(Mark("8001", "LeveringNaarDacom")));
  EXPECT_TRUE(fs::exists(folder() + "typrosync.lock"));
}

// Each stop signal arrives while a reply is held: that message is stamped
// as its reply says, no further customer is started, the run log says why,
// and the next run sends exactly the rest.
TEST_F(UnattendedRunTest, StopSignalEndsTheRunAfterTheMessageInFlight) {
  for (const char* n : {"1", "2", "3", "4"}) {
    AddCustomerWithLine(std::string("3000") + n, "X", std::string("800") + n);
  }
  receivers_.StartCropR("<OK/>", true);
  const std::pair<int, const char*> signals[] = {
      {SIGTERM, "SIGTERM"}, {SIGINT, "SIGINT"}, {SIGHUP, "SIGHUP"}};
  int sent = 0;
  for (const auto& [number, name] : signals) {
    receivers_.Hold();
    std::unique_ptr<RunningProgram> run = Start();
    ASSERT_TRUE(WaitUntil([&] { return Received(sent + 1); })) << name;
    kill(run->pid(), number);
    receivers_.Release();
    const ProgramResult stopped = run->Wait();
    ++sent;
    EXPECT_EQ(2, stopped.exit_code) << name << stopped.err;
    EXPECT_TRUE(IsStamp(Mark("800" + std::to_string(sent), "LeveringNaarDacom"))) << name;
    EXPECT_EQ("", Mark("800" + std::to_string(sent + 1), "LeveringNaarDacom")) << name;
    EXPECT_EQ(static_cast<size_t>(sent), CropRCustomers().size()) << name;
    const std::string log = admin_.Logs();
    const size_t end = log.rfind("SYNC      : ERROR           : Synchronisatie afgebroken\r\n");
    ASSERT_NE(end, std::string::npos) << name << log;
    EXPECT_EQ(2u, Count(log.substr(end), "\r\n")) << log.substr(end);
    EXPECT_TRUE(log.ends_with(std::string(": 18 -> Gestopt door signaal ") + name + "\r\n"))
        << log.substr(end);
  }
  EXPECT_EQ(0, Sync(folder()).exit_code);
  EXPECT_EQ(CropRCustomers(), (std::vector<std::string>{"30001", "30002", "30003", "30004"}));
  EXPECT_TRUE(IsStamp(Mark("8004", "LeveringNaarDacom")));
}

// A database the run cannot use, read-only or empty (a copy still running, a
// failed download), is refused by name at opening, before anything is read
// or sent, and left as it was. As root every file is writable, so the
// program then runs as "nobody".
TEST_F(UnattendedRunTest, UnusableDatabaseIsRefusedAtOpening) {
  AddCustomerWithLine("30001", "X", "8001");
  receivers_.StartCropR("<OK/>");
  std::vector<std::string> args;
  if (geteuid() == 0) {
    if (!fs::exists("/usr/bin/setpriv")) GTEST_SKIP() << "needs setpriv to leave root";
    args = {"--reuid=65534", "--regid=65534", "--clear-groups", TYPROSYNC_PROGRAM};
    const fs::perms read_write =
        fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec);
    for (const std::string& dir : {folder(), receivers_.dir(), runtime_dir_.path()}) {
      fs::permissions(dir, fs::perms::all);
      for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        fs::permissions(entry.path(), entry.is_directory() ? fs::perms::all : read_write);
      }
    }
  }
  args.push_back(folder());
  const fs::perms read_only =
      fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  for (const bool empty : {false, true}) {
    for (const std::string name : {"TallyraDB.mdb", "Archief.mdb"}) {
      const std::string path = folder() + name, kept = ReadFileBytes(path);
      SCOPED_TRACE(path + (empty ? " empty" : " read-only"));
      const fs::perms before = fs::status(path).permissions();
      empty ? WriteFileBytes(path, "") : fs::permissions(path, read_only);
      ProgramResult run =
          RunProgram(args.size() > 1 ? "/usr/bin/setpriv" : TYPROSYNC_PROGRAM, args, Env());
      fs::permissions(path, before);
      EXPECT_EQ(1, run.exit_code) << run.err;
      EXPECT_EQ(1u, Count(run.err, "\n")) << run.err;
      EXPECT_EQ(1u, Count(run.err, "'" + path + (empty ? "'" : "' niet openen om te schrijven")))
          << run.err;
      EXPECT_EQ(fs::file_size(path), empty ? 0u : kept.size());
      EXPECT_FALSE(fs::exists(path + "-wal"));
      EXPECT_TRUE(CropRCustomers().empty());
      EXPECT_EQ("", admin_.Logs());
      WriteFileBytes(path, kept);
    }
  }
  EXPECT_EQ("", Mark("8001", "LeveringNaarDacom"));
  EXPECT_EQ(0, Sync(folder()).exit_code);
  EXPECT_EQ(CropRCustomers(), std::vector<std::string>{"30001"});
}

// Every relative name of the folder works as its absolute name does, the
// log shows it as given, and the working folder stays as it was.
TEST_F(UnattendedRunTest, RelativeDataFolderNamesWork) {
  AddCustomerWithLine("30001", "X", "8001");
  receivers_.StartCropR("<OK/>");
  TempDir work;
  const std::string real = "Mäp met spaties";
  const std::string given = folder().substr(0, folder().size() - 1);
  fs::create_directories(work.path() + "werk/sub");
  fs::rename(given, work.path() + "werk/" + real);
  fs::create_directory_symlink(work.path() + "werk/" + real, given);
  fs::create_directory_symlink(real, work.path() + "werk/data");  // relative
  const struct {
    std::string cwd, argument;
  } cases[] = {
      {"werk", real},   {"werk", "./" + real + "/"}, {"werk/sub", "../" + real + "/"},
      {"werk", "data"}, {"werk", "./data/"},         {"werk/sub", "../data"},
  };
  for (const auto& c : cases) {
    const std::string shown =
        "Datapath        : " + c.argument + (c.argument.ends_with("/") ? "" : "/") + "\r\n";
    const size_t before = Count(admin_.Logs(), shown);
    ProgramResult run = Sync(c.argument, work.path() + c.cwd);
    EXPECT_EQ(0, run.exit_code) << c.argument << run.err;
    EXPECT_EQ(before + 1, Count(admin_.Logs(), shown)) << c.argument;
  }
  std::vector<std::string> left;
  for (const fs::directory_entry& entry : fs::directory_iterator(work.path() + "werk")) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{real, "data", "sub"}));
  EXPECT_TRUE(fs::is_empty(work.path() + "werk/sub"));
  EXPECT_EQ(CropRCustomers(), std::vector<std::string>{"30001"});
  EXPECT_TRUE(IsStamp(Mark("8001", "LeveringNaarDacom")));
  fs::remove(given);  // the folder back where the administration's owner removes it
  fs::rename(work.path() + "werk/" + real, given);
}

}  // namespace
}  // namespace typrosync::test_support

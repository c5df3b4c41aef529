// End to end: `typrosync DATAFOLDER` run as an operator runs it, on an
// administration made by typrosync-admin, against a real local Crop-R
// receiver (HTTPS) and a real local AgroVision server (FTP); each run once
// with the SQLite engine and once with the ODBC engine through the SQLite
// ODBC driver, with the same expectations.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <regex>
#include <sstream>

#include "e2e/run_scene.h"

namespace typrosync::test_support {
namespace {

namespace fs = std::filesystem;

// The message of customer 20001 below, without its final CR LF; N and T
// stand for the message number and sending time, which follow the clock.
std::string AgroVisionMessage() {
  return ReadFileBytes((fs::path(__FILE__).parent_path() / "agrovision_20001.xml").string()) +
         "\r\n";
}

// The message number (16 digits ending in 01) and its sending time as N and T.
std::string WithoutMoment(const std::string& text) {
  static const std::regex kMoment(
      "Nummer=\"\\d{14}01\" (A800006AssociationAssignedCode=\"AC\") "
      "A800010VerzendDatumBericht=\"\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ\"");
  return std::regex_replace(text, kMoment, "Nummer=\"N\" $1 A800010VerzendDatumBericht=\"T\"");
}

// Names of the files in `folder` matching `pattern`, sorted.
std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    if (std::regex_match(name, std::regex(pattern))) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The value of TYPROSYNC_ODBC for the run; empty: the SQLite engine.
class SyncRunTest : public ::testing::TestWithParam<const char*>, public RunScene {
 protected:
  // Every message received must parse as XML: cleaning leaves no markup.
  void TearDown() override {
    std::vector<std::string> args{"-c",
                                  "import sys, xml.dom.minidom\n"
                                  "for f in sys.argv[1:]: xml.dom.minidom.parse(f)"};
    for (const std::string& file : receivers_.Uploads())
      args.push_back(receivers_.UploadPath(file));
    const std::vector<std::string> bodies = receivers_.Bodies();
    for (size_t i = 0; i < bodies.size(); ++i) {
      args.push_back(receivers_.dir() + "body-" + std::to_string(i) + ".xml");
      WriteFileBytes(args.back(), bodies[i]);
    }
    ProgramResult parsed = RunProgram("/usr/bin/python3", args);
    EXPECT_EQ(0, parsed.exit_code) << parsed.err;
  }

  // Customer 20001 of the AgroVision group: two orders over two vouchers,
  // one line per weight category, texts that need cleaning.
  void AddAgroVisionCustomer() {
    AddCustomer("20001", " X", "Maatschap \"De Eik\" & Zn", "K\xC3\xA9rkweg; achter");
    AddLine("20001", "7001", "B1", "GEN-1", "200012024030400010001", "10", "5", "3",
            "Fungicide <Extra>");
    AddLine("20001", "7001", "B2", "GEN-2", "200012024030400010002", "10", "1500", "-1");
    AddLine("20001", "7002", "B1", "GEN-3", "200012024030500020001", "2", "0.25", "0");
    AddLine("20001", "7001", "B1", "GEN-4", "200012024030400010003", "5", "500000", "4");
    AddLine("20001", "7002", "B1", "GEN-5", "200012024030500020002", "3", "1000", "3");
  }

  // Runs typrosync on the data folder with the engine of the parameter.
  ProgramResult Sync() const {
    if (*GetParam() == '\0') return RunScene::Sync(folder());
    return RunScene::Sync(folder(), "", {{"TYPROSYNC_ODBC", GetParam()}});
  }

  // Runs typrosync as a timer or cron would: an empty environment but for
  // PATH, the receivers, the engine and `extra`, the arguments `options` +
  // data folder.
  // With `journal` standard error is a file JOURNAL_STREAM names, as the
  // journal's stream is under systemd; its contents come back in `err`.
  ProgramResult SyncUnattended(const std::vector<std::string>& options, bool journal = false,
                               const Environment& extra = {}) const {
    const std::string err_file = receivers_.dir() + "stderr";
    WriteFileBytes(err_file, "");
    std::vector<std::string> args{"-c", "exec 2>>\"$0\" && exec \"$@\"", err_file};
    args.insert(args.end(), {"/usr/bin/env", "-i", "PATH=/usr/bin:/bin"});
    struct stat info {};
    if (journal && stat(err_file.c_str(), &info) == 0) {
      args.push_back("JOURNAL_STREAM=" + std::to_string(info.st_dev) + ":" +
                     std::to_string(info.st_ino));
    }
    Environment env = receivers_.Env();
    env.insert(env.end(), extra.begin(), extra.end());
    if (*GetParam() != '\0') env.push_back({"TYPROSYNC_ODBC", GetParam()});
    for (const auto& [name, value] : env) args.push_back(name + "=" + value);
    args.push_back(TYPROSYNC_PROGRAM);
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(folder());
    ProgramResult result = RunProgram("/bin/sh", args);
    result.err = ReadFileBytes(err_file);
    return result;
  }
  Environment RuntimeDir() const { return {{"XDG_RUNTIME_DIR", runtime_dir_.path()}}; }
};

// AgroVision customer 20001, Crop-R customer 30001 with two orders and
// customer 40001 in both groups: each gets its messages once, the orders are
// stamped, and a second run sends nothing.
TEST_P(SyncRunTest, DeliversEachCustomerOnceAndStampsItsOrders) {
  AddAgroVisionCustomer();
  AddCustomerWithLine("30001", "X", "8001");
  AddLine("30001", "8002", "V2", "GEN-1", "300012024030400020001");
  AddCustomerWithLine("40001", "XX", "9101");
  receivers_.StartCropR("<OK/>");
  receivers_.StartFtp(folder());
  ProgramResult run = Sync();
  ASSERT_EQ(0, run.exit_code) << run.err;

  const std::vector<std::string> files = receivers_.Uploads();
  ASSERT_EQ(2u, files.size());
  EXPECT_TRUE(std::regex_match(files[0], std::regex("20001_[0-9]{8}_[0-9]{6}\\.xml"))) << files[0];
  EXPECT_TRUE(std::regex_match(files[1], std::regex("40001_[0-9]{8}_[0-9]{6}\\.xml"))) << files[1];
  EXPECT_EQ(AgroVisionMessage(), WithoutMoment(ReadFileBytes(receivers_.UploadPath(files[0]))));
  EXPECT_EQ(1u, Count(ReadFileBytes(receivers_.UploadPath(files[1])),
                      "A702777LeveranciersNummer=\"KORVELDAM\""));

  const std::vector<std::string> bodies = receivers_.Bodies();
  ASSERT_EQ(2u, bodies.size());
  EXPECT_EQ(1u, Count(bodies[0], "A203813KlantNummer=\"30001\""));
  EXPECT_EQ(2u, Count(bodies[0], "<SegmentLevering "));
  EXPECT_EQ(1u, Count(bodies[1], "A203813KlantNummer=\"40001\""));
  EXPECT_EQ(2u, Count(bodies[0] + bodies[1], "A702777LeveranciersNummer=\"\" "));
  EXPECT_EQ(bodies[1] + "\r\n", ReadFileBytes(folder() + "bericht.xml"));

  for (const char* order : {"7001", "7002"}) {
    EXPECT_TRUE(IsStamp(Mark(order, "LeveringNaarAgroVision"))) << order;
    EXPECT_EQ("", Mark(order, "LeveringNaarDacom")) << order;
  }
  EXPECT_TRUE(IsStamp(Mark("8001", "LeveringNaarDacom")));
  EXPECT_EQ(Mark("8001", "LeveringNaarDacom"), Mark("8002", "LeveringNaarDacom"));
  EXPECT_EQ("", Mark("8001", "LeveringNaarAgroVision"));
  EXPECT_TRUE(IsStamp(Mark("9101", "LeveringNaarDacom")));
  EXPECT_EQ(Mark("9101", "LeveringNaarDacom"), Mark("9101", "LeveringNaarAgroVision"));
  const std::string log = admin_.Logs();
  EXPECT_EQ(1u, Count(log, "AGROVISION: Relatienr.      : 20001"));
  EXPECT_EQ(1u, Count(log, "AGROVISION: Aantal regels   : 5"));
  EXPECT_EQ(2u, Count(log, "CROPR     : Status          : OK"));

  for (const std::string& file : files) fs::remove(receivers_.UploadPath(file));
  ASSERT_EQ(0, Sync().exit_code);
  EXPECT_EQ(2u, receivers_.Bodies().size());
  EXPECT_TRUE(receivers_.Uploads().empty());
  const std::string added = admin_.Logs().substr(log.size());
  EXPECT_EQ(0u, Count(added, "CROPR") + Count(added, "AGROVISION")) << added;
}

// The transport shows the refusal (a message box answered at once, on
// stderr); the orders are stamped all the same and the local copy stays.
TEST_P(SyncRunTest, RefusedAgroVisionUploadStillStampsOrders) {
  AddCustomerWithLine("20002", " X", "9001");
  receivers_.StartCropR("<ok/>");
  receivers_.StartFtp(folder(), "elr");
  ProgramResult run = Sync();
  ASSERT_EQ(0, run.exit_code);
  EXPECT_TRUE(receivers_.Uploads().empty());
  EXPECT_NE("", run.err);
  EXPECT_TRUE(IsStamp(Mark("9001", "LeveringNaarAgroVision")));
  EXPECT_EQ(1u, FilesMatching(folder(), "20002_[0-9]{8}_[0-9]{6}\\.xml").size());
}

// Crop-R cannot be reached: its orders stay pending and later Crop-R
// customers are not attempted, while AgroVision is still delivered.
TEST_P(SyncRunTest, UnreachableCropRLeavesOrdersPendingAndAgroVisionGoesOut) {
  AddCustomerWithLine("30001", "X", "8001");
  AddCustomerWithLine("30002", "  X", "8002");  // the Dacom group also goes to Crop-R
  AddAgroVisionCustomer();
  receivers_.StartFtp(folder());
  ProgramResult run = Sync();
  ASSERT_EQ(0, run.exit_code) << run.err;
  EXPECT_EQ("", Mark("8001", "LeveringNaarDacom"));
  EXPECT_EQ("", Mark("8002", "LeveringNaarDacom"));
  EXPECT_EQ(1u, receivers_.Uploads().size());
  EXPECT_TRUE(IsStamp(Mark("7001", "LeveringNaarAgroVision")));
  const std::string log = admin_.Logs();
  EXPECT_EQ(2u, Count(log, "CROPR     : Status          : "));
  EXPECT_EQ(1u, Count(log, "Niet verstuurd: Crop-R was eerder in deze run onbereikbaar"));
}

INSTANTIATE_TEST_SUITE_P(Engines, SyncRunTest,
                         ::testing::Values("", "Driver=SQLite3;Database={file}"),
                         [](const auto& test) { return *test.param ? "Odbc" : "Sqlite"; });

// An ODBC source that cannot be opened ends the run before anything is
// logged, with one line on standard error that names the source.
TEST(SyncRunOdbcTest, SourceThatCannotBeOpenedEndsWithExitOne) {
  TestAdministratie admin(TYPROSYNC_ADMIN_TOOL);
  const ProgramResult run = RunProgram(TYPROSYNC_PROGRAM, {admin.folder()},
                                       {{"TYPROSYNC_ODBC", "Driver=NoSuchDriver;Database={file}"},
                                        {"QT_QPA_PLATFORM", "offscreen"}});
  EXPECT_EQ(1, run.exit_code);
  EXPECT_EQ(1u, Count(run.err, "typrosync: ")) << run.err;
  EXPECT_NE(std::string::npos,
            run.err.find("Driver=NoSuchDriver;Database=" + admin.folder() + "TallyraDB.mdb"))
      << run.err;
  EXPECT_TRUE(FilesMatching(admin.folder(), "typrosync-.*\\.log").empty());
}

// Unattended, as a timer runs it. A refused message leaves its orders
// pending and goes out again, the same, until accepted. On the journal each
// warning and error line carries its syslog priority (another stream named
// in JOURNAL_STREAM changes nothing); a successful run writes nothing on
// standard error, not even the toolkit's start-up warnings, and with --quiet
// nothing on standard output either.
TEST_P(SyncRunTest, UnattendedRunsRefusedAcceptedAndBroken) {
  AddCustomerWithLine("30001", "X", "8001");
  receivers_.StartCropR("<fout>Onbekende leverancier</fout>");
  receivers_.StartFtp(folder());
  const std::string warning =
      "typrosync: Crop-R weigerde het bericht voor relatie 30001: "
      "<fout>Onbekende leverancier</fout>\n";
  ProgramResult run = SyncUnattended({"--quiet"}, true, RuntimeDir());
  ASSERT_EQ(0, run.exit_code) << run.err;
  EXPECT_EQ("<4>" + warning, run.err);
  EXPECT_EQ("", run.out);
  EXPECT_EQ(
      1u, Count(admin_.Logs(), "CROPR     : Status          : <fout>Onbekende leverancier</fout>"));
  Environment other_stream = RuntimeDir();
  other_stream.push_back({"JOURNAL_STREAM", "1:1"});
  EXPECT_EQ(warning, SyncUnattended({"--quiet"}, false, other_stream).err);
  EXPECT_EQ("", Mark("8001", "LeveringNaarDacom"));

  receivers_.SetReply("<ok/>");
  run = SyncUnattended({});
  ASSERT_EQ(0, run.exit_code) << run.err;
  EXPECT_EQ("", run.err);
  EXPECT_NE(std::string::npos, run.out.find("Status: Gereed\n")) << run.out;
  const std::vector<std::string> bodies = receivers_.Bodies();
  ASSERT_EQ(3u, bodies.size());
  EXPECT_EQ(WithoutMoment(bodies[0]), WithoutMoment(bodies[2]));
  EXPECT_TRUE(IsStamp(Mark("8001", "LeveringNaarDacom")));

  AddAgroVisionCustomer();
  run = SyncUnattended({"--quiet"});
  ASSERT_EQ(0, run.exit_code) << run.err;
  EXPECT_EQ("", run.out);
  EXPECT_EQ("", run.err);
  EXPECT_TRUE(IsStamp(Mark("7001", "LeveringNaarAgroVision")));

  fs::remove(folder() + "Archief.mdb");
  run = SyncUnattended({"--quiet"}, true, RuntimeDir());
  EXPECT_EQ(1, run.exit_code);
  ASSERT_NE("", run.err);
  std::istringstream lines(run.err);
  for (std::string line; std::getline(lines, line);) EXPECT_EQ("<3>", line.substr(0, 3)) << line;
}

}  // namespace
}  // namespace typrosync::test_support

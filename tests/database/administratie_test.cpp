// OpenAdministratie on administrations typrosync-admin makes in temporary
// folders, and the tool's exit statuses and its sample's determinism.

#include "database/administratie.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "admin_schema.h"
#include "database/administratie_tables.h"
#include "database/database_test_support.h"
#include "support/test_server.h"

namespace typrosync {
namespace {

using test_support::OtherUser;
using Files = std::vector<std::pair<std::string, std::string>>;  // settings file name, bytes

// The line DecodeerWachtwoord turns back into `password`.
std::string Encode(const std::string& password) {
  std::string line;
  for (auto it = password.rbegin(); it != password.rend(); ++it) line += static_cast<char>(*it * 2);
  return line;
}

// The exit status of typrosync-admin with these arguments.
int RunAdmin(const std::string& args) {
  return WEXITSTATUS(std::system((TYPROSYNC_ADMIN_TOOL " " + args + " 2>/dev/null").c_str()));
}

class AdministratieTest : public ::testing::Test {
 protected:
  void Create(const std::string& password, const Files& files = {}) {
    dir_ = std::make_unique<test_support::TempDir>();
    admin::CreateAdministration(dir_->path(), password);
    for (const auto& [name, bytes] : files) std::ofstream(dir_->path() + name) << bytes;
  }
  std::unique_ptr<Administratie> Open(const std::string& folder) {
    testing::internal::CaptureStderr();
    failure_.clear();
    std::unique_ptr<Administratie> administratie =
        OpenAdministratie(folder, *engine_, ui_, &failure_);
    stderr_ = testing::internal::GetCapturedStderr();
    return administratie;
  }

  std::unique_ptr<test_support::TempDir> dir_ = std::make_unique<test_support::TempDir>();
  std::unique_ptr<DatabaseEngine> engine_ = MakeSqliteEngine({std::chrono::milliseconds(200)});
  test_support::QuietUi ui_;
  std::string stderr_;   // opening prints nothing itself
  std::string failure_;  // the reason it gives its caller
};

TEST_F(AdministratieTest, EveryFailureAnswersNullptrWithItsReason) {
  // The error number in the reason, the password, the settings files, and the
  // table dropped from the file (no table: the file removed).
  struct Case {
    std::string name;
    long error;
    std::string password;
    Files files;
    std::string file, table;
  };
  const std::vector<Case> cases = {
      {"administration missing", 3024, "", {}, "TallyraDB.mdb", ""},
      {"archive missing", 3024, "", {}, "Archief.mdb", ""},
      {"first table missing", 3078, "", {}, "TallyraDB.mdb", "FactuurRuns"},
      {"table before the archive's", 3078, "", {}, "TallyraDB.mdb", "Dagboek"},
      {"last table missing", 3078, "", {}, "TallyraDB.mdb", "TabelGrootboekKoppeling"},
      {"archive table missing", 3078, "", {}, "Archief.mdb", "FaktuurHistorie"},
      {"wrong password", 3031, "geheim", {{"tallyra.pwd", Encode("Geheim")}}, "", ""},
      {"password file missing", 3031, "geheim", {}, "", ""},
      {"trailing space", 3031, "geheim", {{"tallyra.pwd", Encode("geheim ")}}, "", ""},
      {"empty password file", 62, "", {{"tallyra.pwd", ""}}, "", ""},
      {"empty lock file", 62, "", {{"tallyra.lock", ""}}, "", ""},
      {"no database", 3343, "", {{"TallyraDB.mdb", "Geen database, wel lang genoeg."}}, "", ""},
      {"Jet", 3343, "", {{"Archief.mdb", std::string("\0\x01\0\0Standard Jet DB\0", 20)}}, "", ""},
  };
  for (const Case& c : cases) {
    Create(c.password, c.files);
    if (!c.table.empty()) {
      ASSERT_TRUE(OtherUser(dir_->path() + c.file).Exec("DROP TABLE " + c.table));
    } else if (!c.file.empty()) {
      std::filesystem::remove(dir_->path() + c.file);
    }
    EXPECT_FALSE(Open(dir_->path())) << c.name;
    EXPECT_EQ(stderr_, "") << c.name;
    EXPECT_TRUE(failure_.starts_with(std::to_string(c.error) + " -> ")) << c.name << ": " << failure_;
    EXPECT_EQ(failure_.find("is een Jet-database") != std::string::npos, c.name == "Jet");
  }
  EXPECT_FALSE(Open(""));  // no folder configured: no reason either
  EXPECT_EQ(stderr_ + failure_, "");
}

// What is not a whole database of this engine (empty, cut short, another
// format, a damaged first page) is refused with the file's name and never
// written to: SQLite would take an empty file for a new database.
TEST_F(AdministratieTest, IncompleteOrDamagedFilesAreNamedAndLeftAsTheyAre) {
  Create("");
  const std::string whole = test_support::ReadFileBytes(dir_->path() + "TallyraDB.mdb");
  const size_t page = 4096;
  ASSERT_EQ(whole.size() % page, 0u);
  std::string damaged = whole;
  damaged.replace(100, 200, std::string(200, '\xff'));
  const std::pair<std::string, std::string> cases[] = {
      {"TallyraDB.mdb", ""},
      {"Archief.mdb", ""},
      {"TallyraDB.mdb", whole.substr(0, whole.size() / page / 2 * page)},
      {"TallyraDB.mdb", whole.substr(0, page + 100)},
      {"Archief.mdb", std::string("SQLite format 2") + std::string(200, '\0')},
      {"TallyraDB.mdb", damaged},
  };
  for (const auto& [name, bytes] : cases) {
    Create("");
    const std::string path = dir_->path() + name;
    test_support::WriteFileBytes(path, bytes);
    EXPECT_FALSE(Open(dir_->path())) << name << " " << bytes.size();
    EXPECT_EQ(stderr_, "");
    EXPECT_NE(failure_.find("'" + path + "'"), std::string::npos) << failure_;
    EXPECT_EQ(test_support::ReadFileBytes(path), bytes) << name << " " << bytes.size();
    for (const char* extra : {"-wal", "-journal"})
      EXPECT_FALSE(std::filesystem::exists(path + extra)) << name;
  }
}

TEST_F(AdministratieTest, LockFileSwitchesEditLockingOfExactlyTheListedTables) {
  const std::vector<std::pair<std::optional<std::string>, bool>> cases = {
      {std::nullopt, true}, {"false", false}, {"FALSE", false}, {"False\r\n", false},
      {"false\nx", false},  {"false ", true}, {" false", true}, {"0", true},
      {"no", true},         {"\n", true}};
  for (const auto& [line, lock_edits] : cases) {
    Create("", line ? Files{{"tallyra.lock", *line}} : Files{});
    std::unique_ptr<Administratie> administratie = Open(dir_->path());
    ASSERT_TRUE(administratie) << line.value_or("no file");
    for (const AdministratieTable& table : AdministratieTables()) {
      EXPECT_EQ(administratie->Table(table.name).LockEdits(),
                table.takes_lock_flag ? lock_edits : true)
          << line.value_or("no file") << " " << table.name;
    }
  }
}

// The tool's administration opens with its password file, takes FaktuurHistorie
// from the archive, and is never overwritten.
TEST_F(AdministratieTest, AdminToolSetsThePasswordNeverOverwritesAndRefusesBadArguments) {
  const std::string folder = dir_->path() + "met wachtwoord/";
  EXPECT_EQ(RunAdmin("create '" + folder + "' --password 'Ta11yra!'"), 0);
  EXPECT_FALSE(Open(folder));  // without its password file
  std::ofstream(folder + "tallyra.pwd") << Encode("Ta11yra!") + "\r\nnog een regel\r\n";
  ASSERT_TRUE(
      OtherUser(folder + "Archief.mdb").Exec("INSERT INTO FaktuurHistorie (ID) VALUES (1)"));
  EXPECT_EQ(RunAdmin("create '" + folder + "' --password ander"), 1);
  std::unique_ptr<Administratie> administratie = Open(folder);
  ASSERT_TRUE(administratie);
  EXPECT_EQ(ui_.events, 1);
  EXPECT_EQ(administratie->Table("faktuurhistorie").RecordCount(), 1);
  EXPECT_THROW(administratie->Table("Onbekend"), VbError);
  for (const char* bad : {"", "create", "verwijder x", "sample x --lines veel",
                          "sample x --customers 0", "create x --lines 5", "sample x --seed",
                          "sample x --routed 101"})
    EXPECT_EQ(RunAdmin(bad), 2) << bad;
}

TEST_F(AdministratieTest, SampleIsTheSameForTheSameOptionsOnly) {
  std::vector<std::string> files;
  // The default routed share is 60 %: naming it keeps the sample as it was.
  for (const char* options : {"--seed 7", "--seed 7 --routed 60", "--seed 8", "--seed 7 --routed 3"}) {
    const std::string folder = dir_->path() + std::to_string(files.size()) + "/";
    ASSERT_EQ(RunAdmin("sample '" + folder + "' --lines 300 --customers 20 " + options), 0);
    EXPECT_TRUE(Open(folder));
    files.push_back(test_support::ReadFileBytes(folder + "TallyraDB.mdb"));
  }
  EXPECT_EQ(files[0], files[1]);
  EXPECT_NE(files[0], files[2]);
  EXPECT_NE(files[0], files[3]);
}

TEST(DecodeerWachtwoordTest, HalvesEveryCodeWithHalvesToEvenAndReverses) {
  // 195 / 2 = 97.5 -> 98 ("b"), 193 / 2 = 96.5 -> 96 ("`").
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {Encode("Ta11yra!"), "Ta11yra!"}, {"\xc3", "b"}, {"\xc1", "`"}};
  for (const auto& [line, password] : cases) EXPECT_EQ(DecodeerWachtwoord(line), password) << line;
}

}  // namespace
}  // namespace typrosync

// OpenAdministratie on administrations made in temporary folders: every
// way it fails answers nullptr, the password and lock files, and the 159
// tables with their sources and edit locking.

#include "database/administratie.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "admin_schema.h"
#include "database/administratie_tables.h"
#include "database/database_test_support.h"

namespace typrosync {
namespace {

using test_support::CountingUi;
using test_support::OtherUser;
using test_support::TempDir;

// The line DecodeerWachtwoord turns back into `password`.
std::string Encode(const std::string& password) {
  std::string line;
  for (auto it = password.rbegin(); it != password.rend(); ++it) {
    line.push_back(static_cast<char>(static_cast<unsigned char>(*it) * 2));
  }
  return line;
}

class AdministratieTest : public ::testing::Test {
 protected:
  const std::string& folder() const { return dir_->path(); }
  void Create(const std::string& password = "") { admin::CreateAdministration(folder(), password); }
  void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream(folder() + name, std::ios::binary) << bytes;
  }
  void Drop(const std::string& file, const std::string& table) {
    OtherUser other(folder() + file);
    ASSERT_TRUE(other.Exec("DROP TABLE \"" + table + "\""));
  }
  std::unique_ptr<Administratie> Open() {
    testing::internal::CaptureStderr();
    std::unique_ptr<Administratie> administratie = OpenAdministratie(folder(), *engine_, ui_);
    stderr_ = testing::internal::GetCapturedStderr();
    return administratie;
  }
  std::vector<bool> LockFlags(Administratie& administratie) {
    std::vector<bool> flags;
    for (const AdministratieTable& table : AdministratieTables()) {
      flags.push_back(administratie.Table(table.name).LockEdits());
    }
    return flags;
  }

  std::unique_ptr<TempDir> dir_ = std::make_unique<TempDir>();
  std::unique_ptr<DatabaseEngine> engine_ = MakeSqliteEngine({std::chrono::milliseconds(200)});
  CountingUi ui_;
  std::string stderr_;
};

TEST_F(AdministratieTest, OpensEveryTableInOrderWithoutAnySettingsFile) {
  Create();
  std::unique_ptr<Administratie> administratie = Open();
  ASSERT_TRUE(administratie);
  EXPECT_EQ(ui_.events, 0);
  for (const AdministratieTable& table : AdministratieTables()) {
    EXPECT_TRUE(administratie->Table(table.name).LockEdits()) << table.name;
  }
  EXPECT_EQ(&administratie->Table("ORDERGEGEVENS"), &administratie->Table("Ordergegevens"));
  EXPECT_THROW(administratie->Table("Onbekend"), VbError);
}

TEST_F(AdministratieTest, FaktuurHistorieComesFromTheArchive) {
  Create();
  OtherUser archive(folder() + "Archief.mdb");
  ASSERT_TRUE(archive.Exec("INSERT INTO FaktuurHistorie (ID) VALUES (1)"));
  std::unique_ptr<Administratie> administratie = Open();
  ASSERT_TRUE(administratie);
  EXPECT_EQ(administratie->Table("FaktuurHistorie").RecordCount(), 1);
  EXPECT_THROW(administratie->dbAdministratie().OpenTable("FaktuurHistorie"), VbError);
  EXPECT_NO_THROW(administratie->dbArchief().OpenTable("FaktuurHistorie"));
}

TEST_F(AdministratieTest, PasswordFileOpensBothProtectedDatabases) {
  Create("Ta11yra!");
  WriteFile("tallyra.pwd", Encode("Ta11yra!") + "\r\nnog een regel\r\n");
  EXPECT_TRUE(Open());
  EXPECT_EQ(ui_.events, 1);
}

TEST_F(AdministratieTest, EveryFailureAnswersNullptrQuietly) {
  struct Case {
    std::string name;
    std::string password;                                    // of the administration
    std::vector<std::pair<std::string, std::string>> files;  // settings files written
    std::pair<std::string, std::string> drop;                // file and table removed
    std::string remove;                                      // database file removed
  };
  const std::vector<Case> cases = {
      {"administration missing", "", {}, {}, "TallyraDB.mdb"},
      {"archive missing", "", {}, {}, "Archief.mdb"},
      {"first table missing", "", {}, {"TallyraDB.mdb", "FactuurRuns"}, ""},
      {"table before the archive's", "", {}, {"TallyraDB.mdb", "Dagboek"}, ""},
      {"meta table missing", "", {}, {"TallyraDB.mdb", "OrderGegevensMeta"}, ""},
      {"last table missing", "", {}, {"TallyraDB.mdb", "TabelGrootboekKoppeling"}, ""},
      {"archive table missing", "", {}, {"Archief.mdb", "FaktuurHistorie"}, ""},
      {"wrong password", "geheim", {{"tallyra.pwd", Encode("Geheim")}}, {}, ""},
      {"password file missing", "geheim", {}, {}, ""},
      {"password with trailing space", "geheim", {{"tallyra.pwd", Encode("geheim ")}}, {}, ""},
      {"empty password file", "", {{"tallyra.pwd", ""}}, {}, ""},
      {"empty lock file", "", {{"tallyra.lock", ""}}, {}, ""},
      {"Jet archive",
       "",
       {{"Archief.mdb", std::string("\0\x01\0\0Standard Jet DB\0", 20)}},
       {},
       ""},
  };
  for (const Case& c : cases) {
    dir_ = std::make_unique<TempDir>();
    Create(c.password);
    for (const auto& [name, bytes] : c.files) WriteFile(name, bytes);
    if (!c.drop.first.empty()) Drop(c.drop.first, c.drop.second);
    if (!c.remove.empty()) std::filesystem::remove(folder() + c.remove);
    EXPECT_FALSE(Open()) << c.name;
    if (c.name.starts_with("Jet")) {
      EXPECT_NE(stderr_.find("Jet-database"), std::string::npos) << stderr_;
    }
    EXPECT_EQ(std::count(stderr_.begin(), stderr_.end(), '\n'), 1) << c.name << ": " << stderr_;
  }
}

TEST_F(AdministratieTest, EmptyFolderArgumentTouchesNothing) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(OpenAdministratie("", *engine_, ui_), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(ui_.events, 0);
}

TEST_F(AdministratieTest, LockFileSwitchesEditLockingOfExactlyTheListedTables) {
  struct Case {
    std::string line;
    bool lock_edits;
  };
  const std::vector<Case> cases = {{"false", false},    {"FALSE", false}, {"False\r\n", false},
                                   {"false\nx", false}, {"false ", true}, {" false", true},
                                   {"0", true},         {"no", true},     {"\n", true}};
  for (const Case& c : cases) {
    dir_ = std::make_unique<TempDir>();
    Create();
    WriteFile("tallyra.lock", c.line);
    std::unique_ptr<Administratie> administratie = Open();
    ASSERT_TRUE(administratie) << c.line;
    const std::vector<bool> flags = LockFlags(*administratie);
    int locked = 0;
    for (size_t i = 0; i < flags.size(); ++i) {
      const bool listed = AdministratieTables()[i].takes_lock_flag;
      EXPECT_EQ(flags[i], listed ? c.lock_edits : true) << c.line << AdministratieTables()[i].name;
      locked += listed;
    }
    EXPECT_EQ(locked, 27);
  }
}

TEST(AdministratieTablesTest, OrderSourcesAndLockFlags) {
  const auto& tables = AdministratieTables();
  EXPECT_EQ(tables.front().name, "FactuurRuns");
  EXPECT_EQ(tables[41].name, "FaktuurHistorie");
  EXPECT_EQ(tables.back().name, "TabelGrootboekKoppeling");
  EXPECT_EQ(std::count_if(tables.begin(), tables.end(),
                          [](const auto& t) { return t.source == TableSource::kArchief; }),
            1);
  EXPECT_EQ(tables[41].source, TableSource::kArchief);
}

TEST(DecodeerWachtwoordTest, HalvesEveryCodeWithHalvesToEvenAndReverses) {
  struct Case {
    std::string line;
    std::string password;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {Encode("geheim"), "geheim"},
      {Encode("Ta11yra!"), "Ta11yra!"},
      {"\xc3", "b"},                   // 195 / 2 = 97.5 -> 98
      {"\xc1", "`"},                   // 193 / 2 = 96.5 -> 96
      {"\xc2\xc4\xc6", "cba"},         // reversed
      {"\x01", std::string(1, '\0')},  // 0.5 -> 0
      {"\x03", "\x02"},                // 1.5 -> 2
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeerWachtwoord(c.line), c.password) << c.line;
}

}  // namespace
}  // namespace typrosync

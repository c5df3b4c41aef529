// File-exists test on a real folder, character removal, safe file names and
// decimal counts.

#include "common/file_helpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/locale_settings.h"
#include "common/separators.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;

class BestaatBestandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("typro-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "sub");
    fs::create_directories(folder_ / "empty");
    std::ofstream(folder_ / "tallyra.pwd") << "x";
    std::ofstream(folder_ / "README") << "x";
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Path(const std::string& name) const { return folder_.string() + "/" + name; }

  fs::path folder_;
};

TEST_F(BestaatBestandTest, NamesAndPatterns) {
  const struct {
    const char* name;
    bool exists;
  } cases[] = {
      {"tallyra.pwd", true},
      {"tallyra.lock", false},
      {"TALLYRA.PWD", false},
      {"sub", true},
      {"*.pwd", true},
      {"tallyra.?wd", true},
      {"t*a.p?d", true},
      {"*.xyz", false},
      {"READ*", true},
      {"README.*", true},
      {"?", true},
      {"x?", false},
      {"sub/*", true},
      {"missing/*.*", false},
      {"*/README", false},
  };
  for (const auto& c : cases) {
    std::string path = Path(c.name);
    EXPECT_EQ(BestaatBestand(path), c.exists) << c.name;
    EXPECT_EQ(path, Path(c.name));
  }
}

TEST_F(BestaatBestandTest, FolderEndingInSlashAsksForAnyEntry) {
  for (const char* folder : {"", "sub/", "empty/"}) {
    std::string path = Path(folder);
    EXPECT_TRUE(BestaatBestand(path)) << folder;
    EXPECT_EQ(path, Path(folder) + "*.*");
  }
  std::string missing = Path("missing/");
  EXPECT_FALSE(BestaatBestand(missing));
  EXPECT_EQ(missing, Path("missing/*.*"));

  std::string empty;
  EXPECT_FALSE(BestaatBestand(empty));
}

TEST(VerwijderTekenTest, RemovesOneExactCharacter) {
  EXPECT_EQ(VerwijderTeken("a-b-c-d", "-"), "abcd");
  EXPECT_EQ(VerwijderTeken("abc", "B"), "abc");
  EXPECT_EQ(VerwijderTeken("abc", ""), "abc");
  EXPECT_EQ(VerwijderTeken("abcab", "ab"), "abcab");
  EXPECT_EQ(VerwijderTeken("caf\xC3\xA9 \xC3\xA9", "\xC3\xA9"), "caf ");
  EXPECT_EQ(VerwijderTeken("", "a"), "");
}

TEST(MaakBestandsnaamVeiligTest, RemovesTheTenForbiddenCharacters) {
  std::string only_forbidden = ":/\\?!<>*\"|";
  EXPECT_EQ(MaakBestandsnaamVeilig(only_forbidden), "");
  EXPECT_EQ(only_forbidden, "");

  std::string name = "PC-01: kantoor <2>|\"A\"*?";
  EXPECT_EQ(MaakBestandsnaamVeilig(name), "PC-01 kantoor 2A");
  EXPECT_EQ(name, "PC-01 kantoor 2A");
}

using AantalDecimalenTest = testing::DutchSeparatorsTest;

TEST_F(AantalDecimalenTest, CountsEverythingAfterTheSeparator) {
  EXPECT_EQ(AantalDecimalen("1,000"), 3);
  EXPECT_EQ(AantalDecimalen("100"), 0);
  EXPECT_EQ(AantalDecimalen("2,5 kg"), 4);
  EXPECT_EQ(AantalDecimalen("1,2,3"), 3);
  EXPECT_EQ(AantalDecimalen(","), 0);
  gsDecimaalTeken = ".";
  EXPECT_EQ(AantalDecimalen("1,000"), 0);
  EXPECT_EQ(AantalDecimalen("1.5"), 1);
  gsDecimaalTeken = "";
  EXPECT_EQ(AantalDecimalen("1,000"), 0);
}

}  // namespace
}  // namespace typrosync

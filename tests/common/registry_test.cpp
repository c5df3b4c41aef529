#include "common/registry.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "common/wine_registry_file.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;

// The current user's hive as Wine writes it, with values of every kind.
constexpr char kUserReg[] = R"(WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

#arch=win64

[Software\\Korveldam\\TyproSync] 1764950000
#time=1dc65f0a0b0c0d0
@="standaard"
"Jaar"="2029"
"Leeg"=""
"Aantal"=dword:0000002a
"Binair"=hex:32,00,30,00
"Pad"=str(2):"%ProgramFiles%\\Typro"
"PadHex"=hex(2):25,00,00,00
"Lijst"=str(7):"a\0b\0"
"Map"="C:\\Program Files\\Typro\\"
"Citaat"="Firma \"De Hoeve\""
"Euro"="\x20ac 12 Caf\x00e9"
"Trekker"="\xd83d\xde9c"
"Los"="\xd83d!"
"Utf8"="Maïs"
"Regels"="a\tb\nc"
"MetNul"="ab\0cd"
"SzHex"=hex(1):31,00,32,00
"SzHexNul"=hex(1):61,00,00,00,62,00,00,00
"Lang"=hex(1):41,00,\
  42,00,\
  00,00
"Stuk"="geen einde

[Software\\Korveldam\\TyproSync\\Sub] 1764950000
"Naam"="onder"

[Software\\Korveldam\\Ander] 1764950000
"Jaar"="1999"
)";

constexpr char kSystemReg[] =
    "WINE REGISTRY Version 2\r\n"
    "[Software\\\\Tallyra] 1764950000\r\n"
    "\"Versie\"=\"7.1\"\r\n";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* prefix = getenv("WINEPREFIX");
    saved_prefix_ = prefix != nullptr ? std::optional<std::string>(prefix) : std::nullopt;
    dir_ = fs::temp_directory_path() /
           ("typro_registry_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    Write("user.reg", kUserReg);
    Write("system.reg", kSystemReg);
    setenv("WINEPREFIX", dir_.c_str(), 1);
  }
  void TearDown() override {
    if (saved_prefix_) {
      setenv("WINEPREFIX", saved_prefix_->c_str(), 1);
    } else {
      unsetenv("WINEPREFIX");
    }
    fs::remove_all(dir_);
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  static std::string Read(const std::string& key, const std::string& name,
                          uint32_t hive = kHkeyCurrentUser) {
    return LeesRegisterTekst(hive, key, name).Text();
  }

  fs::path dir_;

 private:
  std::optional<std::string> saved_prefix_;
};

constexpr char kKey[] = "Software\\Korveldam\\TyproSync";

TEST_F(RegistryTest, ReadsTextValuesWithTheirEscapes) {
  const std::pair<const char*, const char*> cases[] = {
      {"Jaar", "2029"},
      {"", "standaard"},
      {"Leeg", ""},
      {"Map", "C:\\Program Files\\Typro\\"},
      {"Citaat", "Firma \"De Hoeve\""},
      {"Euro", "€ 12 Café"},
      {"Trekker", "🚜"},
      {"Los", "\uFFFD!"},
      {"Utf8", "Maïs"},
      {"Regels", "a\tb\nc"},
      {"MetNul", "abcd"},  // the embedded NUL is dropped, the parts joined
      {"SzHex", "12"},
      {"SzHexNul", "ab"},
      {"Lang", "AB"},
  };
  for (const auto& [name, expected] : cases) EXPECT_EQ(Read(kKey, name), expected) << name;
}

TEST_F(RegistryTest, OtherTypesAndMissingValuesGiveTheEmptyText) {
  for (const char* name : {"Aantal", "Binair", "Pad", "PadHex", "Lijst", "Stuk", "Ontbreekt"}) {
    EXPECT_EQ(Read(kKey, name), "") << name;
  }
  EXPECT_EQ(Read("Software\\Korveldam\\Ontbreekt", "Jaar"), "");
  EXPECT_EQ(Read(kKey, "Jaar", 0x80000003), "");
}

TEST_F(RegistryTest, MatchesKeysAndNamesWithoutRegardToCase) {
  EXPECT_EQ(Read("SOFTWARE\\korveldam\\typrosync", "JAAR"), "2029");
  EXPECT_EQ(Read("Software\\Korveldam\\Ander", "jaar"), "1999");
  EXPECT_EQ(Read("Software\\Korveldam\\TyproSync\\Sub", "Naam"), "onder");
}

TEST_F(RegistryTest, ReadsTheLocalMachineFromTheSystemHive) {
  EXPECT_EQ(Read("Software\\Tallyra", "Versie", kHkeyLocalMachine), "7.1");
  EXPECT_EQ(Read("Software\\Tallyra", "Versie", kHkeyCurrentUser), "");
}

TEST_F(RegistryTest, OpensKeysThatOnlyHoldSubkeysAndKeysBelowOpenOnes) {
  uint32_t parent = 0;
  ASSERT_TRUE(OpenRegisterSleutel(kHkeyCurrentUser, "Software\\Korveldam", parent));
  std::string value = "onaangeroerd";
  EXPECT_FALSE(LeesRegisterWaarde(parent, "Jaar", value));
  EXPECT_EQ(value, "onaangeroerd");
  uint32_t child = 0;
  ASSERT_TRUE(OpenRegisterSleutel(parent, "TyproSync\\Sub", child));
  EXPECT_NE(child, parent);
  EXPECT_TRUE(LeesRegisterWaarde(child, "Naam", value));
  EXPECT_EQ(value, "onder");
  EXPECT_TRUE(SluitRegisterSleutel(child));
  EXPECT_TRUE(SluitRegisterSleutel(parent));
}

TEST_F(RegistryTest, ClosedHandlesNoLongerAnswer) {
  uint32_t key = 0;
  ASSERT_TRUE(OpenRegisterSleutel(kHkeyCurrentUser, kKey, key));
  std::string value;
  EXPECT_TRUE(LeesRegisterWaarde(key, "Jaar", value));
  EXPECT_EQ(value, "2029");
  EXPECT_TRUE(SluitRegisterSleutel(key));
  EXPECT_FALSE(SluitRegisterSleutel(key));
  EXPECT_FALSE(LeesRegisterWaarde(key, "Jaar", value));
  EXPECT_FALSE(OpenRegisterSleutel(key, "Sub", key));
}

TEST_F(RegistryTest, FallsBackToTheWineFolderInHome) {
  const char* home = getenv("HOME");
  const std::string saved_home = home != nullptr ? home : "";
  fs::create_directories(dir_ / ".wine");
  std::ofstream(dir_ / ".wine" / "user.reg") << "[Software\\\\Thuis]\n\"Waar\"=\"ja\"\n";
  unsetenv("WINEPREFIX");
  setenv("HOME", dir_.c_str(), 1);
  EXPECT_EQ(Read("Software\\Thuis", "Waar"), "ja");
  setenv("HOME", saved_home.c_str(), 1);
}

TEST_F(RegistryTest, AMissingHiveFileHasNoKeys) {
  fs::remove(dir_ / "user.reg");
  EXPECT_EQ(Read(kKey, "Jaar"), "");
}

TEST(RegistryNulTest, RemovesOneTrailingNul) {
  using namespace std::string_literals;
  const std::pair<std::string, std::string> cases[] = {
      {"ab\0"s, "ab"}, {"ab\0\0"s, "ab\0"s}, {"\0"s, "\0"s}, {""s, ""s}, {"a\0b"s, "a\0b"s},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(VerwijderAfsluitNul(text), expected);
}

TEST(WineRegistryFileTest, SurvivesArbitraryFileText) {
  std::mt19937 random(1857);
  const std::string pieces[] = {
      "[",       "]",    "\\\\",   "\"",      "@",      "=",   "\\",   "\n",
      "hex(1):", "hex:", "dword:", "str(2):", "41,00,", "\\x", "d83d", "\\0",
      "Key",     "\xC3", "\r\n",   ",",       "ff",     "(",   "):"};
  std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1);
  for (int round = 0; round < 2000; ++round) {
    std::string text = "[Key]\n";
    for (int i = 0; i < 30; ++i) text += pieces[piece(random)];
    const auto values = FindWineRegistryKey(text, {"Key"});
    ASSERT_TRUE(values.has_value());
    for (const RegistryValue& value : *values) EXPECT_NE(value.type, 0u);
  }
}

}  // namespace
}  // namespace typrosync

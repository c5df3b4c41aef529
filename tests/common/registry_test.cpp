// The registry reader on hive files written by the test.

#include "common/registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "common/test_support.h"
#include "common/wine_registry_file.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;

// The current user's hive as Wine writes it, with values of every kind.
constexpr char kUserReg[] = R"(WINE REGISTRY Version 2

[Software\\Korveldam\\TyproSync] 1764950000
#time=1dc65f0a0b0c0d0
@="standaard"
"Jaar"="2029"
"Aantal"=dword:0000002a
"Pad"=str(2):"%ProgramFiles%\\Typro"
"Map"="C:\\Program Files\\Typro\\"
"Citaat"="Firma \"De Hoeve\""
"Euro"="\x20ac 12 Caf\x00e9"
"Los"="\xd83d!"
"Grens"="\x07ff\x0800\xffff\xd800\xdc00\xdbff\xdfff"
"MetNul"="ab\0cd"
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

constexpr char kKey[] = "Software\\Korveldam\\TyproSync";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / ".wine");
    std::ofstream(dir_ / "user.reg", std::ios::binary) << kUserReg;
    std::ofstream(dir_ / "system.reg", std::ios::binary)
        << "WINE REGISTRY Version 2\r\n[Software\\\\Tallyra] 1\r\n\"Versie\"=\"7.1\"\r\n";
    setenv("WINEPREFIX", dir_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("WINEPREFIX");
    fs::remove_all(dir_);
  }
  static std::string Read(const std::string& name, const std::string& key = kKey,
                          uint32_t hive = kHkeyCurrentUser) {
    return RegistryReader().LeesRegisterTekst(hive, key, name).Text();
  }
  const fs::path dir_ = fs::temp_directory_path() / ("typro-registry-" + std::to_string(getpid()));
};

// Names and keys in any letter case; other types and missing values give "".
TEST_F(RegistryTest, ReadsTextValuesOnly) {
  EXPECT_EQ(test_support::Joined({"", "JAAR", "Map", "Citaat", "Euro", "Los", "Grens", "MetNul",
                                  "SzHexNul", "Lang", "Aantal", "Pad", "Stuk", "Ontbreekt"},
                                 [](const char* name) { return Read(name); }),
            "standaard|2029|C:\\Program Files\\Typro\\|Firma \"De Hoeve\"|€ 12 Café|\uFFFD!|"
            "\u07FF\u0800\uFFFF\U00010000\U0010FFFF|abcd|ab|AB||||");
  EXPECT_EQ(Read("jaar", "SOFTWARE\\korveldam\\Ander"), "1999");
  EXPECT_EQ(Read("Jaar", "Software\\Korveldam\\Ontbreekt"), "");
  EXPECT_EQ(Read("Jaar", kKey, 0x80000003), "");
  EXPECT_EQ(Read("Versie", "Software\\Tallyra", kHkeyLocalMachine), "7.1");
  EXPECT_EQ(Read("Versie", "Software\\Tallyra", kHkeyCurrentUser), "");
}

// Handles belong to the reader that opened them.
TEST_F(RegistryTest, OpenKeyHandles) {
  RegistryReader registry;
  uint32_t parent = 0, child = 0;
  std::string value = "onaangeroerd";
  ASSERT_TRUE(registry.OpenRegisterSleutel(kHkeyCurrentUser, "Software\\Korveldam", parent));
  EXPECT_FALSE(registry.LeesRegisterWaarde(parent, "Jaar", value));  // it only holds subkeys
  EXPECT_EQ(value, "onaangeroerd");
  ASSERT_TRUE(registry.OpenRegisterSleutel(parent, "TyproSync\\Sub", child));
  RegistryReader other;
  EXPECT_FALSE(other.LeesRegisterWaarde(child, "Naam", value));
  EXPECT_FALSE(other.SluitRegisterSleutel(child));
  EXPECT_TRUE(registry.LeesRegisterWaarde(child, "Naam", value));
  EXPECT_EQ(value, "onder");
  EXPECT_TRUE(registry.SluitRegisterSleutel(child));
  EXPECT_FALSE(registry.SluitRegisterSleutel(child));  // closed handles no longer answer
  EXPECT_FALSE(registry.LeesRegisterWaarde(child, "Naam", value));
  EXPECT_FALSE(registry.OpenRegisterSleutel(child, "Sub", child));
  EXPECT_TRUE(registry.SluitRegisterSleutel(parent));
}

// Without WINEPREFIX the hives are in ~/.wine; a missing hive has no keys.
TEST_F(RegistryTest, WineFolderInHome) {
  const std::string home = getenv("HOME") ? getenv("HOME") : "";
  unsetenv("WINEPREFIX");
  setenv("HOME", dir_.c_str(), 1);
  EXPECT_EQ(Read("Jaar"), "");
  std::ofstream(dir_ / ".wine" / "user.reg") << "[Software\\\\Thuis]\n\"Waar\"=\"ja\"\n";
  EXPECT_EQ(Read("Waar", "Software\\Thuis"), "ja");
  setenv("HOME", home.c_str(), 1);
}

// Arbitrary file text never crashes the reader nor gives a value without type.
TEST(WineRegistryFileTest, SurvivesArbitraryFileText) {
  const char* const pieces[] = {
      "[",       "]",    "\\\\",   "\"",      "@",      "=",   "\\",   "\n",
      "hex(1):", "hex:", "dword:", "str(2):", "41,00,", "\\x", "d83d", "\\0",
      "Key",     "\xC3", "\r\n",   ",",       "ff",     "(",   "):"};
  std::mt19937 random(1857);
  for (int round = 0; round < 2000; ++round) {
    std::string text = "[Key]\n";
    for (int i = 0; i < 30; ++i) text += pieces[random() % std::size(pieces)];
    const std::vector<RegistryValue> values = FindWineRegistryKey(text, {"Key"}).value();
    for (const RegistryValue& value : values) EXPECT_NE(value.type, 0u);
  }
}

}  // namespace
}  // namespace typrosync

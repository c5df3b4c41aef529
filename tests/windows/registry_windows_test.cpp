// The registry reader on advapi32 (Wine's registry here): values written by
// the test under the current user, read back through the reader.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/registry.h"
#include "common/windows_text.h"

namespace typrosync {
namespace {

class WindowsRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, WideFromUtf8(key_ + "\\Sub").c_str(), 0, nullptr,
                              0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    SetText(key, L"Naam", REG_SZ, L"onder");
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, WideFromUtf8(key_).c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    SetText(key, L"", REG_SZ, L"standaard");
    SetText(key, L"Euro", REG_SZ, L"\u20ac 12 Caf\u00e9");
    SetText(key, std::wstring(L"MetNul"), REG_SZ, std::wstring(L"ab\0cd", 5));
    SetText(key, L"Pad", REG_EXPAND_SZ, L"%ProgramFiles%\\Typro");
    const DWORD number = 42;
    RegSetValueExW(key, L"Aantal", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    RegCloseKey(key);
  }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, WideFromUtf8(key_).c_str()); }

  static void SetText(HKEY key, const std::wstring& name, DWORD type, const std::wstring& text) {
    RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  std::string Read(const std::string& name, const std::string& key) {
    return RegistryReader().LeesRegisterTekst(kHkeyCurrentUser, key, name).Text();
  }

  const std::string key_ =
      "Software\\Korveldam\\TyproSyncTest" + std::to_string(GetCurrentProcessId());
};

// Texts come back as UTF-8; names and keys in any letter case; other types,
// missing keys and values give "".
TEST_F(WindowsRegistryTest, ReadsTextValuesOnly) {
  const struct {
    const char* name;
    std::string expected;
  } cases[] = {{"", "standaard"},      {"EURO", "\xe2\x82\xac 12 Caf\xc3\xa9"},
               {"MetNul", "abcd"},     {"Pad", ""},
               {"Aantal", ""},         {"Ontbreekt", ""}};
  for (const auto& c : cases) EXPECT_EQ(Read(c.name, key_), c.expected) << c.name;
  std::string upper = key_;
  for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
  EXPECT_EQ(Read("naam", upper + "\\SUB"), "onder");
  EXPECT_EQ(Read("Naam", key_ + "\\Ontbreekt"), "");
}

// Handles belong to the reader that opened them.
TEST_F(WindowsRegistryTest, OpenKeyHandles) {
  RegistryReader registry;
  uint32_t parent = 0, child = 0;
  std::string value = "onaangeroerd";
  ASSERT_TRUE(registry.OpenRegisterSleutel(kHkeyCurrentUser, key_, parent));
  EXPECT_FALSE(registry.LeesRegisterWaarde(parent, "Aantal", value));
  EXPECT_EQ(value, "onaangeroerd");
  ASSERT_TRUE(registry.OpenRegisterSleutel(parent, "sub", child));
  RegistryReader other;
  EXPECT_FALSE(other.LeesRegisterWaarde(child, "Naam", value));
  EXPECT_TRUE(registry.LeesRegisterWaarde(child, "Naam", value));
  EXPECT_EQ(value, "onder");
  EXPECT_TRUE(registry.SluitRegisterSleutel(child));
  EXPECT_FALSE(registry.SluitRegisterSleutel(child));
  EXPECT_FALSE(registry.LeesRegisterWaarde(child, "Naam", value));
  EXPECT_FALSE(registry.OpenRegisterSleutel(child, "Sub", child));
  EXPECT_FALSE(registry.OpenRegisterSleutel(0x12345, "Software", child));
}

}  // namespace
}  // namespace typrosync

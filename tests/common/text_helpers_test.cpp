// UTF-8 character positions, the chunked string builder, the file helpers on a
// real folder and the separator settings read from the process locale.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/file_helpers.h"
#include "common/string_builder.h"
#include "common/test_support.h"
#include "common/utf8_text.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;
using testing::ErrorNumber;
constexpr int32_t kChunk = cStringBuilder::kDefaultChunkSize;

TEST(Utf8TextTest, SequencesAndStrayBytesAreCharacters) {
  const struct {
    std::string text;
    size_t length;
  } cases[] = {
      {"\xC3\xA9t\xC3\xA9", 3},
      {"\xE2\x82\xAC"
       "5",
       2},
      {"\xF0\x9F\x98\x80", 1},
      {"\xC3"
       "a",
       2},
      {"\xE0\x80\x80", 3},  // overlong
      {"\xED\xA0\x80", 3},  // surrogate
      {"\xF4\x90\x80\x80", 4},
      {"\x80\xBF\xFF", 3},
      {std::string("a\0b", 3), 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8Length(c.text), c.length) << c.text;
    std::string joined;
    for (auto character : Utf8Characters(c.text)) joined += character;
    EXPECT_EQ(joined, c.text);
  }
  const std::string text =
      "\xC3\xA9"
      "ab\xE2\x82\xAC";
  EXPECT_EQ(Utf8Left(text, 1) + "|" + Utf8Right(text, 2) + "|" + Utf8Mid(text, 2, 2) + "|" +
                Utf8Mid(text, 3) + "|" + Utf8Mid(text, 9, 2),
            "\xC3\xA9|b\xE2\x82\xAC|ab|b\xE2\x82\xAC|");
  EXPECT_EQ(TrimSpaces("  a b  ") + "|" + TrimSpaces("\ta "), "a b|\ta");
}

cStringBuilder With(const std::string& content) {
  cStringBuilder builder;
  builder.Append(content);
  return builder;
}

TEST(StringBuilderTest, GrowsInWholeChunks) {
  cStringBuilder builder;
  builder.Append("");
  EXPECT_EQ(builder.Capacity(), 0);
  builder.AppendNL("x");
  EXPECT_EQ(builder.Capacity(), kChunk);
  builder.Append(std::string(kChunk - 3, 'y'));
  EXPECT_EQ(builder.Capacity(), kChunk);  // exactly full
  builder.Append("z");
  EXPECT_EQ(builder.Capacity(), 2 * kChunk);
  EXPECT_EQ(builder.toString().substr(0, 4), "x\r\ny");
  EXPECT_EQ(With(std::string(20000, 'a')).Capacity(), 24576);
  cStringBuilder small = With("abc");
  small.SetChunkSize(4);
  small.Append(std::string(kChunk, 'd'));
  EXPECT_EQ(small.Capacity(), kChunk + 4);  // one step of the new size
  EXPECT_EQ(ErrorNumber([&] { small.SetChunkSize(0); }), 5);
}

TEST(StringBuilderTest, TheStringClearAndHeapMinimize) {
  cStringBuilder builder = With(std::string(5 * kChunk, 'a'));
  builder.TheString("short");
  EXPECT_EQ(builder.Capacity(), 5 * kChunk);
  EXPECT_EQ(builder.Find("a"), 0);  // the old content is gone from the spare part
  builder.TheString(std::string(kChunk * 3 / 2, 'b'));
  builder.HeapMinimize();
  EXPECT_EQ(builder.Capacity(), 2 * kChunk);
  EXPECT_EQ(builder.Length(), kChunk * 3 / 2);
  builder.TheString("");
  EXPECT_EQ(builder.Capacity() + builder.Length(), 0);
}

TEST(StringBuilderTest, InsertAndRemoveCheckTheRange) {
  cStringBuilder builder = With("ab");
  builder.Insert(2, "x");
  builder.InsertByVal(0, "y");
  EXPECT_EQ(builder.toString(), "yabx");
  builder.Remove(1, 2);
  EXPECT_EQ(builder.toString(), "yx");
  EXPECT_EQ(ErrorNumber([&] { builder.Insert(3, "x"); }), 9);
  EXPECT_EQ(ErrorNumber([&] { builder.Insert(-1, "x"); }), 9);
  for (auto [index, length] : {std::pair{1, 2}, {-1, 1}, {0, -1}}) {
    EXPECT_EQ(ErrorNumber([&] { builder.Remove(index, length); }), 9) << index << "," << length;
  }
  EXPECT_EQ(builder.toString(), "yx");
  builder.Remove(0, 2);
  EXPECT_EQ(builder.Find("y"), 0);  // removed characters do not linger in the buffer
}

// One-based positions, searched in the whole buffer (spare spaces included)
// but found only when the match starts before the last character.
TEST(StringBuilderTest, FindPositions) {
  cStringBuilder text = With("ab cd");
  const struct {
    const char* find;
    int32_t start, compare, position;
  } cases[] = {
      {"b", 0, 0, 2}, {"d", 0, 0, 0}, {"cd  ", 0, 0, 4}, {"B", 0, 0, 0},
      {"B", 0, 1, 2}, {"b", 3, 0, 0}, {"AB", -5, 1, 1},  {"a", kChunk + 10, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text.Find(c.find, c.start, c.compare), c.position) << c.find << " " << c.start;
  }
  EXPECT_EQ(cStringBuilder().Find("a"), 0);
}

class FileHelpersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "sub");
    fs::create_directories(folder_ / "empty");
    std::ofstream(folder_ / "tallyra.pwd") << "x";
    std::ofstream(folder_ / "README") << "x";
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Path(const std::string& name) const { return folder_.string() + "/" + name; }
  const fs::path folder_ = fs::temp_directory_path() / ("typro-files-" + std::to_string(getpid()));
};

TEST_F(FileHelpersTest, BestaatBestandNamesAndPatterns) {
  const struct {
    const char* name;
    bool exists;
    const char* path_after;
  } cases[] = {
      {"tallyra.pwd", true, nullptr},
      {"TALLYRA.PWD", false, nullptr},
      {"sub", true, nullptr},
      {"t*a.p?d", true, nullptr},
      {"*.xyz", false, nullptr},
      {"README.*", true, nullptr},
      {"?", true, nullptr},
      {"x?", false, nullptr},
      {"sub/*", true, nullptr},
      {"*/README", false, nullptr},
      {"missing/*.*", false, nullptr},
      // A folder ending in "/" asks for any entry, its "." entry included.
      {"", true, "*.*"},
      {"empty/", true, "empty/*.*"},
      {"missing/", false, "missing/*.*"},
  };
  for (const auto& c : cases) {
    std::string path = Path(c.name);
    EXPECT_EQ(BestaatBestand(path), c.exists) << c.name;
    EXPECT_EQ(path, Path(c.path_after ? c.path_after : c.name));
  }
  std::string empty;
  EXPECT_FALSE(BestaatBestand(empty));
}

TEST(FileHelpersTextTest, VerwijderTekenAndSafeFileNames) {
  EXPECT_EQ(VerwijderTeken("a-b-c-d", "-"), "abcd");
  EXPECT_EQ(VerwijderTeken("abc", "B"), "abc");
  EXPECT_EQ(VerwijderTeken("abcab", "ab"), "abcab");
  EXPECT_EQ(VerwijderTeken("caf\xC3\xA9 \xC3\xA9", "\xC3\xA9"), "caf ");
  std::string name = "PC-01: kantoor <2>|\"A\"*?/\\!";
  EXPECT_EQ(MaakBestandsnaamVeilig(name), "PC-01 kantoor 2A");
  EXPECT_EQ(name, "PC-01 kantoor 2A");
}

using LocaleSettingsTest = testing::DutchSeparatorsTest;

TEST_F(LocaleSettingsTest, DutchLocaleAndTheCFallback) {
  for (bool dutch : {true, false}) {
    testing::DutchLocale locale;
    ASSERT_TRUE(locale.active);
    if (!dutch) std::setlocale(LC_ALL, "C");
    gsDecimaalTeken = gsDuizendTeken = gsDecimaalTekenGetal = gsDuizendTekenGetal = "?";
    LeesLandinstellingen();
    EXPECT_EQ(gsDecimaalTeken + gsDuizendTeken + gsDecimaalTekenGetal + gsDuizendTekenGetal,
              ",.,.");
    EXPECT_EQ(GetLandinstelling(GetUserDefaultLCID(), kLocaleMonDecimalSep), dutch ? "," : "");
    EXPECT_EQ(GetLandinstelling(GetUserDefaultLCID(), kLocaleDecimalSep), dutch ? "," : ".");
  }
  EXPECT_EQ(gsSpatie, " ");
  EXPECT_EQ(gsApplicatieTitel, "Beheer - TallyraPro");
  for (long item : {0L, 0x0DL, 0x18L, -1L}) EXPECT_EQ(GetLandinstelling(0x400, item), "") << item;
}

}  // namespace
}  // namespace typrosync

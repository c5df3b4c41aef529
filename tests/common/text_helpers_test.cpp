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
using testing::Joined;
using FindCase = std::tuple<const char*, int32_t, int32_t>;
constexpr int32_t kChunk = cStringBuilder::kDefaultChunkSize;

TEST(Utf8TextTest, SequencesAndStrayBytesAreCharacters) {
  // é, € 5, a four-byte one, a cut-off sequence, overlong, surrogate, beyond U+10FFFF, stray.
  std::string lengths;
  for (const char* text : {"\xC3\xA9t\xC3\xA9", "\xE2\x82\xAC 5", "\xF0\x9F\x98\x80", "\xC3z",
                           "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80\xBF\xFF"}) {
    std::string joined;
    for (auto character : Utf8Characters(text)) joined += character;
    EXPECT_EQ(joined, text);
    lengths += std::to_string(Utf8Length(text));
  }
  EXPECT_EQ(lengths, "33123343");
  EXPECT_EQ(Utf8Length(std::string("a\0b", 3)), 3u);
  const std::string text = "\xC3\xA9xy\xE2\x82\xAC";
  EXPECT_EQ(Utf8Left(text, 1) + "|" + Utf8Right(text, 2) + "|" + Utf8Mid(text, 2, 2) + "|" +
                Utf8Mid(text, 3) + "|" + Utf8Mid(text, 9, 2),
            "\xC3\xA9|y\xE2\x82\xAC|xy|y\xE2\x82\xAC|");
  EXPECT_EQ(TrimSpaces("  a b  ") + "|" + TrimSpaces("\ta "), "a b|\ta");
}

cStringBuilder With(const std::string& content) {
  cStringBuilder builder;
  builder.Append(content);
  return builder;
}

TEST(StringBuilderTest, GrowsAndShrinksInWholeChunks) {
  cStringBuilder builder;
  builder.Append("");
  EXPECT_EQ(builder.Capacity(), 0);
  builder.AppendNL("x");
  builder.Append(std::string(kChunk - 3, 'y'));
  EXPECT_EQ(builder.Capacity(), kChunk);  // exactly full
  builder.Append("z");
  EXPECT_EQ(builder.Capacity(), 2 * kChunk);
  EXPECT_EQ(builder.toString().substr(0, 4), "x\r\ny");
  EXPECT_EQ(With(std::string(20000, 'a')).Capacity(), 24576);
  builder.SetChunkSize(4);
  builder.TheString(std::string(2 * kChunk + 1, 'd'));
  EXPECT_EQ(builder.Capacity(), 2 * kChunk + 4);  // one step of the new size
  EXPECT_EQ(ErrorNumber([&] { builder.SetChunkSize(0); }), 5);
  builder = With(std::string(5 * kChunk, 'a'));
  builder.TheString(std::string(kChunk * 3 / 2, 'b'));
  EXPECT_EQ(builder.Capacity(), 5 * kChunk);
  EXPECT_EQ(builder.Find("a"), 0);  // the old content is gone from the spare part
  builder.HeapMinimize();
  EXPECT_EQ(builder.Capacity(), 2 * kChunk);
  builder.TheString("");
  EXPECT_EQ(builder.Capacity(), 0);
}

TEST(StringBuilderTest, InsertAndRemoveCheckTheRange) {
  cStringBuilder builder = With("ab");
  builder.Insert(2, "x");
  builder.InsertByVal(0, "y");
  builder.Remove(1, 2);
  EXPECT_EQ(builder.toString(), "yx");
  // Insertions where the length is 0, removals otherwise.
  for (auto [index, length] : {std::pair{3, 0}, {-1, 0}, {1, 2}, {-1, 1}, {0, -1}}) {
    EXPECT_EQ(
        ErrorNumber([&] { length ? builder.Remove(index, length) : builder.Insert(index, "x"); }),
        9);
  }
  EXPECT_EQ(builder.toString(), "yx");
  builder.Remove(0, 2);
  EXPECT_EQ(builder.Find("y"), 0);  // removed characters do not linger in the buffer
}

// One-based positions, searched in the whole buffer (spare spaces included)
// but found only when the match starts before the last character.
TEST(StringBuilderTest, FindPositions) {
  const cStringBuilder text = With("ab cd");
  const FindCase cases[] = {{"b", 0, 0}, {"d", 0, 0}, {"cd  ", 0, 0}, {"B", 0, 0},
                            {"B", 0, 1}, {"b", 3, 0}, {"AB", -5, 1},  {"a", 9000, 0}};
  EXPECT_EQ(Joined(cases,
                   [&](auto c) {
                     return std::to_string(
                         std::apply(&cStringBuilder::Find, std::tuple_cat(std::tie(text), c)));
                   }),
            "2|0|4|0|2|0|1|0");
  EXPECT_EQ(cStringBuilder().Find("a"), 0);
}

// The wildcards act in the last component; a path ending in "/" gets "*.*"
// appended and asks for any entry, the folder's "." entry included.
TEST(FileHelpersTest, BestaatBestandOnARealFolder) {
  const fs::path folder = fs::temp_directory_path() / ("typro-files-" + std::to_string(getpid()));
  fs::create_directories(folder / "sub");
  fs::create_directories(folder / "empty");
  std::ofstream(folder / "tallyra.pwd") << "x";
  std::ofstream(folder / "README") << "x";
  const auto exists = [&](const std::string& name) {
    std::string path = folder.string() + "/" + name;
    const bool found = BestaatBestand(path);
    return path.substr(folder.string().size() + 1) + (found ? "+" : "-");
  };
  EXPECT_EQ(Joined({"tallyra.pwd", "TALLYRA.PWD", "sub", "t*a.p?d", "*.xyz", "README.*", "?", "x?",
                    "sub/*", "*/README", "missing/*.*", "", "empty/", "missing/"},
                   exists),
            "tallyra.pwd+|TALLYRA.PWD-|sub+|t*a.p?d+|*.xyz-|README.*+|?+|x?-|sub/*+|*/README-|"
            "missing/*.*-|*.*+|empty/*.*+|missing/*.*-");
  std::string empty;
  EXPECT_FALSE(BestaatBestand(empty));
  fs::remove_all(folder);
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

// Date texts and the moment patterns of the run stamps and the run log, UTF-8
// character positions, the chunked string builder, the file helpers on a real
// folder and the separator settings read from the process locale.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "common/date_format.h"
#include "common/date_functions.h"
#include "common/file_helpers.h"
#include "common/string_builder.h"
#include "common/test_support.h"
#include "common/utf8_decoder.h"
#include "common/utf8_text.h"
#include "common/wine_registry_file.h"

namespace typrosync {
namespace {

using test_support::ErrorNumbers;
using test_support::Joined;
using namespace std::literals;

// Eight characters (not bytes) make a date; other texts come back trimmed, a
// leading "0" as a space. The caller's text only changes when swapped first
// (read as a whole number, padded to eight digits, ddmmyyyy to yyyymmdd).
TEST(DateFunctionsTest, DatumNaarTekst) {
  EXPECT_EQ(Joined({"20240105", "20241231", "20240310", "20240100", "00000105", "20241305",
                    "2024 105", "2024010", "0240105", "  2024  ", "2024abcd", "2024éé05"},
                   [](std::string date) { return DatumNaarTekst(date); }),
            " 5 jan 2024|31 dec 2024|10 mrt 2024|jan 2024||"
            " 5  2024| 5 jan 2024|2024010| 240105|20|cd  2024| 5  2024");
  EXPECT_EQ(Joined({"05012024", "5012024"},
                   [](std::string date) { return DatumNaarTekst(date, true) + "/" + date; }),
            " 5 jan 2024/20240105| 5 jan 2024/20240105");
}

TEST(DateFunctionsTest, FormatMomentPatterns) {
  const LocalDateTime moment{2024, 3, 5, 7, 8, 9};
  EXPECT_EQ(FormatMoment(moment, "yyyymmdd hhmmss yyyy-mm"), "20240305 070809 2024-03");
  EXPECT_EQ(FormatMoment({987, 12, 31, 23, 59, 58}, "yyyymmdd_hhmmss"), "09871231_235958");
  EXPECT_EQ(FormatMoment({2024, 13, 1}, "[mmm]"), "[]");
  test_support::DutchLocale dutch;
  ASSERT_TRUE(dutch.active);
  std::string months;
  for (int month = 1; month <= 12; ++month) months += FormatMoment({2024, month, 1}, "mmm ");
  EXPECT_EQ(months, "jan feb mrt apr mei jun jul aug sep okt nov dec ");
}

namespace fs = std::filesystem;
constexpr int32_t kChunk = cStringBuilder::kDefaultChunkSize;

// Every walker of UTF-8 over the same bytes: the character cuts, the
// decoder's sizes and code points, and the registry's strings (bytes outside
// escapes kept as they are). A byte that starts no valid shortest-form
// sequence is one character of its own ("!"), so damaged text is never split
// further nor lost.
TEST(Utf8TextTest, EveryWalkerCutsTheSameCharacters) {
  // Each length at its bounds; overlong forms; lone continuation bytes and cut
  // sequences; surrogates, beyond U+10FFFF and bytes that start nothing.
  // clang-format off
  const std::pair<std::string_view, const char*> cases[] = {
      {"a\0b"sv, "1 1 1"}, {"\xC3\xA9t", "2 1"}, {"\xC2\x80\xDF\xBF", "2 2"},
      {"\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF", "3 3 3"}, {"\xED\x9F\xBF\xEE\x80\x80", "3 3"},
      {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", "4 4"}, {"\xC0\xAF\xC1\xBF", "1! 1! 1! 1!"},
      {"\xE0\x9F\xBF", "1! 1! 1!"}, {"\xF0\x8F\xBF\xBF", "1! 1! 1! 1!"}, {"\x80\xBF", "1! 1!"},
      {"\xC3", "1!"}, {"\xE2\x82", "1! 1!"}, {"\xF0\x9F\x98z", "1! 1! 1! 1"},
      {"\xC3\xC3\xA9", "1! 2"}, {"\xED\xA0\x80\xED\xBF\xBF", "1! 1! 1! 1! 1! 1!"},
      {"\xF4\x90\x80\x80", "1! 1! 1! 1!"}, {"\xF5\x80\xF8\xFE\xFF", "1! 1! 1! 1! 1!"}};
  // clang-format on
  for (const auto& [bytes, expected] : cases) {
    const std::string text(bytes);
    std::string cuts, joined;
    for (std::string_view character : Utf8Characters(text)) {
      const size_t pos = joined.size();
      const Utf8Char decoded = DecodeUtf8At(text, pos);
      EXPECT_EQ(decoded.size, character.size()) << text;
      cuts += (cuts.empty() ? "" : " ") + std::to_string(character.size()) +
              (decoded.valid ? "" : "!");
      if (!decoded.valid) {
        EXPECT_EQ(decoded.code, static_cast<unsigned char>(character[0])) << text;
      }
      joined += character;
    }
    EXPECT_EQ(cuts, expected) << text;
    EXPECT_EQ(joined, text);
    EXPECT_EQ(Utf8Length(text), std::count(cuts.begin(), cuts.end(), ' ') + size_t{1}) << text;
    size_t end = 0;
    EXPECT_EQ(DecodeRegistryString(text + '"', end), text) << text;
  }
}

// Appends grow the buffer in whole chunks. Bad positions are error 9, a chunk
// size below 1 error 5. Searches run on into the spare part, which holds
// spaces, but only find matches starting before the last character.
TEST(StringBuilderTest, ChunksErrorsAndSearch) {
  cStringBuilder builder;
  builder.Append("");
  EXPECT_EQ(builder.Capacity(), 0);
  builder.AppendNL("x");
  builder.Append(std::string(kChunk - 3, 'y'));
  EXPECT_EQ(builder.Capacity(), kChunk);  // exactly full
  builder.Append("z");
  EXPECT_EQ(builder.Capacity(), 2 * kChunk);
  EXPECT_EQ(builder.toString().substr(0, 4), "x\r\ny");
  EXPECT_EQ(ErrorNumbers({[&] { builder.SetChunkSize(0); }, [&] { builder.Insert(-1, "x"); },
                          [&] { builder.Insert(3 * kChunk, "x"); },
                          [&] { builder.Remove(1, 3 * kChunk); }, [&] { builder.Remove(-1, 1); },
                          [&] { builder.Remove(0, -1); }}),
            "5|9|9|9|9|9");
  builder.TheString("ab cd");
  EXPECT_EQ(Joined({"b", "d", "cd  ", "B"},
                   [&](const char* find) { return std::to_string(builder.Find(find)); }),
            "2|0|4|0");
  EXPECT_EQ(builder.Find("AB", -5, 1), 1);
}

// Taking the content hands over exactly what was appended, reserved room or
// not, and leaves an empty builder that can be used again.
TEST(StringBuilderTest, TakeStringHandsOverTheContentAndEmpties) {
  for (size_t reserve : {size_t{0}, size_t{10}, size_t{3 * kChunk}}) {
    cStringBuilder builder;
    builder.Reserve(reserve);
    EXPECT_EQ(builder.Capacity(), 0);
    builder.Append(std::string(kChunk + 1, 'y'));
    builder.Append("<z/>");
    const std::string expected = builder.toString();
    EXPECT_EQ(builder.TakeString(), expected);
    EXPECT_EQ(expected.size(), static_cast<size_t>(kChunk) + 5);
    EXPECT_EQ(builder.Length(), 0);
    EXPECT_EQ(builder.Capacity(), 0);
    builder.Append("a");
    EXPECT_EQ(builder.TakeString(), "a");
  }
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
  EXPECT_EQ(VerwijderTeken("a-b-c-d", "-") + "|" + VerwijderTeken("abc", "B") + "|" +
                VerwijderTeken("abcab", "ab") + "|" +
                VerwijderTeken("caf\xC3\xA9 \xC3\xA9", "\xC3\xA9"),
            "abcd|abc|abcab|caf ");
  std::string name = "PC-01: kantoor <2>|\"A\"*?/\\!";
  EXPECT_EQ(MaakBestandsnaamVeilig(name), "PC-01 kantoor 2A");
  EXPECT_EQ(name, "PC-01 kantoor 2A");
}

using LocaleSettingsTest = test_support::DutchSeparatorsTest;

TEST_F(LocaleSettingsTest, DutchLocaleAndTheCFallback) {
  for (bool dutch : {true, false}) {
    test_support::DutchLocale locale;
    ASSERT_TRUE(locale.active);
    if (!dutch) std::setlocale(LC_ALL, "C");
    const Separators read = ReadLocaleSeparators();
    EXPECT_EQ(read.gsDecimaalTeken + read.gsDuizendTeken + read.gsDecimaalTekenGetal +
                  read.gsDuizendTekenGetal,
              ",.,.");
    EXPECT_EQ(GetLandinstelling(GetUserDefaultLCID(), kLocaleMonDecimalSep), dutch ? "," : "");
    EXPECT_EQ(GetLandinstelling(GetUserDefaultLCID(), kLocaleDecimalSep), dutch ? "," : ".");
  }
  for (long item : {0L, 0x0DL, 0x18L, -1L}) EXPECT_EQ(GetLandinstelling(0x400, item), "") << item;
}

}  // namespace
}  // namespace typrosync

// Character positions in UTF-8 texts, valid or not.

#include "common/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace typrosync {
namespace {

TEST(Utf8TextTest, SequencesAndStrayBytesAreCharacters) {
  const struct {
    std::string text;
    size_t length;
  } cases[] = {
      {"", 0},
      {"abc", 3},
      {"\xC3\xA9t\xC3\xA9", 3},
      {"\xE2\x82\xAC"
       "5",
       2},                      // euro sign
      {"\xF0\x9F\x98\x80", 1},  // four bytes
      {"\xC3", 1},              // cut-off sequence
      {"\xC3"
       "a",
       2},
      {"\xE0\x80\x80", 3},      // overlong form
      {"\xED\xA0\x80", 3},      // surrogate
      {"\xF4\x90\x80\x80", 4},  // beyond U+10FFFF
      {"\x80\xBF\xFF", 3},
      {std::string("a\0b", 3), 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8Length(c.text), c.length) << c.text;
    std::string joined;
    for (auto character : Utf8Characters(c.text)) joined += character;
    EXPECT_EQ(joined, c.text);
  }
}

TEST(Utf8TextTest, LeftRightMid) {
  const std::string text =
      "\xC3\xA9"
      "ab\xE2\x82\xAC";  // é a b €
  EXPECT_EQ(Utf8Left(text, 1), "\xC3\xA9");
  EXPECT_EQ(Utf8Left(text, 10), text);
  EXPECT_EQ(Utf8Right(text, 2), "b\xE2\x82\xAC");
  EXPECT_EQ(Utf8Right(text, 0), "");
  EXPECT_EQ(Utf8Mid(text, 2, 2), "ab");
  EXPECT_EQ(Utf8Mid(text, 3), "b\xE2\x82\xAC");
  EXPECT_EQ(Utf8Mid(text, 9, 2), "");
  EXPECT_EQ(TrimSpaces("  a b  "), "a b");
  EXPECT_EQ(TrimSpaces("\ta "), "\ta");
  EXPECT_EQ(TrimSpaces("   "), "");
}

}  // namespace
}  // namespace typrosync

#pragma once
// Decoding UTF-8 texts to code points. A byte that does not start a valid,
// shortest-form sequence counts as one character of its own, so any byte
// string can be walked without loss; common/utf8_text.h counts and cuts
// texts by the same rule.

#include <cstddef>
#include <string_view>

namespace typrosync {

struct Utf8Char {
  size_t size = 1;     // bytes taken by the character, at least 1
  char32_t code = 0;   // the code point; for an invalid byte the byte itself
  bool valid = false;  // false for a byte that is not valid UTF-8
};

// The character starting at byte `pos` (pos < text.size()).
Utf8Char DecodeUtf8At(std::string_view text, size_t pos);

// The number of characters of the text.
size_t CountUtf8Chars(std::string_view text);

// The byte offset just after the first `count` characters (or the size).
size_t Utf8Offset(std::string_view text, size_t count);

}  // namespace typrosync

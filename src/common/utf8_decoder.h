#pragma once
// The one UTF-8 decoder and encoder of the program. A byte that does not
// start a valid, shortest-form sequence counts as one character of its own,
// so any byte string can be walked without loss; common/utf8_text.h counts
// and cuts texts by this rule. (The ODBC layer reads names more leniently;
// see odbc_api.cpp.)

#include <cstddef>
#include <string>
#include <string_view>

namespace typrosync {

struct Utf8Char {
  size_t size = 1;     // bytes taken by the character, at least 1
  char32_t code = 0;   // the code point; for an invalid byte the byte itself
  bool valid = false;  // false for a byte that is not valid UTF-8
};

// The character starting at byte `pos` (pos < text.size()).
Utf8Char DecodeUtf8At(std::string_view text, size_t pos);

// Appends the UTF-8 bytes of `code`. No range check: a surrogate or a value
// beyond U+10FFFF is encoded bit for bit, so callers that pass such values on
// from elsewhere keep them.
void AppendUtf8(char32_t code, std::string& out);

}  // namespace typrosync

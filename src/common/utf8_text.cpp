#include "common/utf8_text.h"

#include "common/utf8_decoder.h"

namespace typrosync {

namespace {

// Every cut goes by the decoder's rule: an invalid byte is one character of
// its own, so lengths and cuts never fail on damaged text and never split a
// valid character.
size_t SequenceLength(std::string_view text, size_t i) { return DecodeUtf8At(text, i).size; }

// Byte offset of the character with zero-based index `index` (size() past the end).
size_t OffsetOf(std::string_view text, size_t index) {
  size_t offset = 0;
  for (size_t n = 0; n < index && offset < text.size(); ++n) {
    offset += SequenceLength(text, offset);
  }
  return offset;
}

}  // namespace

std::vector<std::string_view> Utf8Characters(std::string_view text) {
  std::vector<std::string_view> characters;
  for (size_t i = 0; i < text.size();) {
    const size_t length = SequenceLength(text, i);
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

size_t Utf8Length(std::string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); i += SequenceLength(text, i)) ++count;
  return count;
}

std::string Utf8Left(std::string_view text, size_t count) {
  return std::string(text.substr(0, OffsetOf(text, count)));
}

std::string Utf8Right(std::string_view text, size_t count) {
  const size_t length = Utf8Length(text);
  if (count >= length) return std::string(text);
  return std::string(text.substr(OffsetOf(text, length - count)));
}

// Positions count from 1; 0 is taken as 1 rather than failing.
std::string Utf8Mid(std::string_view text, size_t start, size_t count) {
  if (start == 0) start = 1;
  const size_t begin = OffsetOf(text, start - 1);
  const std::string_view rest = text.substr(begin);
  if (count == std::string::npos) return std::string(rest);
  return std::string(rest.substr(0, OffsetOf(rest, count)));
}

std::string TrimSpaces(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  const size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace typrosync

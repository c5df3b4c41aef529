#pragma once
// Character positions in UTF-8 texts, for the functions whose widths and
// positions count characters. A valid UTF-8 sequence is one character; any
// other byte counts as a character on its own, so invalid input is never
// split further or lost.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace typrosync {

// The characters of `text`, in order; joined they give `text` back.
std::vector<std::string_view> Utf8Characters(std::string_view text);
// The number of characters.
size_t Utf8Length(std::string_view text);
// The first `count` characters (all when fewer).
std::string Utf8Left(std::string_view text, size_t count);
// The last `count` characters (all when fewer).
std::string Utf8Right(std::string_view text, size_t count);
// `count` characters from the one-based position `start` (fewer at the end).
std::string Utf8Mid(std::string_view text, size_t start, size_t count = std::string::npos);

// Text with leading and trailing spaces (only " ") removed.
std::string TrimSpaces(std::string_view text);

}  // namespace typrosync

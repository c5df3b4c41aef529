#pragma once
// Windows builds only: texts are UTF-8 inside the program and UTF-16 at
// every Windows call; these two convert at that border.

#include <string>
#include <string_view>

namespace typrosync {

// Invalid UTF-8 becomes U+FFFD, as MultiByteToWideChar does.
std::wstring WideFromUtf8(std::string_view text);
// Lone surrogates become U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

}  // namespace typrosync

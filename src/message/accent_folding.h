#pragma once
// The folding table behind VerwijderAccenten: the characters at code page 437
// positions 128-255 (as Unicode code points) and the three ASCII characters
// that would upset the message, each with its replacement.

#include <optional>
#include <string_view>

namespace typrosync {

// The replacement of one character, or nullopt when the table leaves it alone.
std::optional<std::string_view> FoldedForm(char32_t code);

// The Unicode code point of the code page 437 character at `position` (0-255).
char32_t Cp437Character(unsigned char position);

}  // namespace typrosync

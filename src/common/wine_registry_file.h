#pragma once
// Reading one key out of a Wine registry file (user.reg, system.reg). Their
// text format: a "WINE REGISTRY Version 2" header, then per key a section
//   [Software\\Vendor\\Program] 1700000000
//   "Name"="text with \\ \" \n \x20ac escapes"
//   @="the default value"
//   "Count"=dword:0000002a
//   "Raw"=hex:01,02,\   (a trailing backslash continues the bytes)
//     03
//   "Path"=str(2):"%ProgramFiles%"      (typed strings; hex(N): typed bytes)
// Lines starting with ";" or "#" are comments or key metadata.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace typrosync {

struct RegistryValue {
  std::string name;   // "" for the default value
  uint32_t type = 0;  // 1 REG_SZ, 2 REG_EXPAND_SZ, 3 REG_BINARY, 4 REG_DWORD, ...
  // Strings as UTF-8 with their terminating NUL (as the registry stores
  // them); other types as their raw bytes.
  std::string data;
};

// The values of the key `path` (components, compared without regard to ASCII
// case) in the file text; an empty list for a key that only has subkeys, and
// nullopt when the file holds neither the key nor anything below it.
std::optional<std::vector<RegistryValue>> FindWineRegistryKey(std::string_view file_text,
                                                              const std::vector<std::string>& path);

// The text of a quoted registry string starting just after its opening quote,
// escapes decoded to UTF-8; `end` receives the position after the closing
// quote. nullopt when the closing quote is missing.
std::optional<std::string> DecodeRegistryString(std::string_view text, size_t& end,
                                                char closing = '"');

// Key and value names compare this way; other bytes must match exactly.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace typrosync

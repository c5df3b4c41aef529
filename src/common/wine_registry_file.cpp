#include "common/wine_registry_file.h"

#include <cctype>

#include "common/utf8_decoder.h"

namespace typrosync {
namespace {

// The registry's value type numbers as the file writes them in hex(N) and
// str(N); only these few change how the data is read.
constexpr uint32_t kRegSzType = 1;
constexpr uint32_t kRegExpandSzType = 2;
constexpr uint32_t kRegBinaryType = 3;
constexpr uint32_t kRegDwordType = 4;
constexpr uint32_t kRegMultiSzType = 7;

// Collects UTF-16 code units (the registry's own characters) as UTF-8,
// pairing surrogates; a surrogate without its partner becomes U+FFFD.
class Utf16ToUtf8 {
 public:
  void Unit(char32_t unit) {
    // A high surrogate waits for the next unit; anything else but a low
    // surrogate leaves it unpaired.
    if (high_ != 0) {
      if (unit >= 0xDC00 && unit <= 0xDFFF) {
        AppendUtf8(0x10000 + ((high_ - 0xD800) << 10) + (unit - 0xDC00), out_);
        high_ = 0;
        return;
      }
      Flush();
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      high_ = unit;
    } else {
      AppendUtf8(unit >= 0xDC00 && unit <= 0xDFFF ? 0xFFFD : unit, out_);
    }
  }
  // A byte of the file outside the escapes: UTF-8 already, kept as it is.
  void RawByte(char byte) {
    Flush();
    out_ += byte;
  }
  std::string Finish() {
    Flush();
    return std::move(out_);
  }

 private:
  void Flush() {
    if (high_ != 0) AppendUtf8(0xFFFD, out_);
    high_ = 0;
  }
  std::string out_;
  char32_t high_ = 0;
};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads up to `max_digits` digits of `base` (8 or 16) from text[pos];
// advances pos. Returns -1 when there is none.
// The digit limit matters: "\x00e9abc" stops after four hex digits, so the
// text that follows an escape is never swallowed into it.
long ReadNumber(std::string_view text, size_t& pos, int base, int max_digits) {
  long value = -1;
  for (int i = 0; i < max_digits && pos < text.size(); ++i, ++pos) {
    const int digit = HexValue(text[pos]);
    if (digit < 0 || digit >= base) break;
    value = (value < 0 ? 0 : value) * base + digit;
  }
  return value;
}

// The character a one-letter escape stands for (\n, \t, ...), or the letter.
char SimpleEscape(char c) {
  switch (c) {
    case 'a':
      return '\a';
    case 'b':
      return '\b';
    case 'e':
      return '\x1b';
    case 'f':
      return '\f';
    case 'n':
      return '\n';
    case 'r':
      return '\r';
    case 't':
      return '\t';
    case 'v':
      return '\v';
    default:
      return c;
  }
}

// Octal escapes take up to three digits, \x up to four hex digits (one
// UTF-16 unit); a \x with no digit after it stands for the letter x.
void DecodeEscape(std::string_view text, size_t& pos, Utf16ToUtf8& out) {
  const char c = text[pos];
  if (c >= '0' && c <= '7') {
    out.Unit(static_cast<char32_t>(ReadNumber(text, pos, 8, 3)));
    return;
  }
  ++pos;
  if (c == 'x') {
    const long unit = ReadNumber(text, pos, 16, 4);
    if (unit >= 0) {
      out.Unit(static_cast<char32_t>(unit));
      return;
    }
  }
  out.Unit(static_cast<unsigned char>(SimpleEscape(c)));
}

// Empty parts are dropped, so "A\\B" and "A\B\" name the same key as "A\B".
std::vector<std::string> SplitKeyPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (size_t pos = path.find('\\');; pos = path.find('\\', from)) {
    const std::string part = path.substr(from, pos == std::string::npos ? pos : pos - from);
    if (!part.empty()) parts.push_back(part);
    if (pos == std::string::npos) break;
    from = pos + 1;
  }
  return parts;
}

enum class KeyMatch { kNone, kExact, kBelow };

// How a section header line relates to the requested key.
KeyMatch MatchSection(std::string_view line, const std::vector<std::string>& path) {
  size_t end = 0;
  const auto section = DecodeRegistryString(line.substr(1), end, ']');
  if (!section) return KeyMatch::kNone;
  const std::vector<std::string> parts = SplitKeyPath(*section);
  if (parts.size() < path.size()) return KeyMatch::kNone;
  for (size_t i = 0; i < path.size(); ++i) {
    if (!EqualsIgnoringAsciiCase(parts[i], path[i])) return KeyMatch::kNone;
  }
  // A subkey alone proves the key exists, even when it has no section of
  // its own: the file lists only keys that hold values.
  return parts.size() == path.size() ? KeyMatch::kExact : KeyMatch::kBelow;
}

// Comma-separated hex bytes ("01,ff,0a"); nullopt when one is malformed.
std::optional<std::string> ParseHexBytes(std::string_view text) {
  std::string bytes;
  size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos == text.size()) break;
    const long value = ReadNumber(text, pos, 16, 2);
    if (value < 0) return std::nullopt;
    bytes += static_cast<char>(value);
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    // A trailing comma is allowed: continued lines end their part with one.
    if (pos < text.size() && text[pos++] != ',') return std::nullopt;
  }
  return bytes;
}

bool IsStringType(uint32_t type) {
  return type == kRegSzType || type == kRegExpandSzType || type == kRegMultiSzType;
}

// String types given as bytes hold UTF-16LE; they are handed out as UTF-8.
// An odd last byte is half a unit and is dropped.
std::string Utf16LeBytesToUtf8(const std::string& bytes) {
  Utf16ToUtf8 out;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    out.Unit(static_cast<unsigned char>(bytes[i]) |
             (static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8));
  }
  return out.Finish();
}

// "(N):" after "hex" or "str": the type number N (hexadecimal).
std::optional<uint32_t> ReadTypeSuffix(std::string_view data, size_t& pos) {
  if (pos >= data.size() || data[pos] != '(') return std::nullopt;
  ++pos;
  const long type = ReadNumber(data, pos, 16, 8);
  if (type < 0 || data.substr(pos, 2) != "):") return std::nullopt;
  pos += 2;
  return static_cast<uint32_t>(type);
}

// "text" or str(N):"text": a string with its terminating NUL.
std::optional<RegistryValue> ParseStringData(std::string_view data, RegistryValue value) {
  size_t pos = 0;
  value.type = kRegSzType;
  if (data[0] == 's') {
    // Just after "str", where "(N):" names the string type.
    pos = 3;
    const auto type = ReadTypeSuffix(data, pos);
    if (!type || pos >= data.size() || data[pos] != '"') return std::nullopt;
    value.type = *type;
  }
  size_t end = 0;
  const auto text = DecodeRegistryString(data.substr(pos + 1), end);
  if (!text) return std::nullopt;
  // Kept with its NUL, the way the registry stores string data, so a
  // reader sees the same bytes as from a hex(1) line.
  value.data = *text + '\0';
  return value;
}

// dword:0000002a, kept as its four little-endian bytes.
std::optional<RegistryValue> ParseDwordData(std::string_view data, RegistryValue value) {
  // Just after "dword:"; eight hex digits at most, whatever follows them.
  size_t pos = 6;
  const long number = ReadNumber(data, pos, 16, 8);
  if (number < 0) return std::nullopt;
  value.type = kRegDwordType;
  for (int i = 0; i < 4; ++i) value.data += static_cast<char>((number >> (8 * i)) & 0xFF);
  return value;
}

// hex:01,02 (binary) or hex(N):01,02 (type N as bytes).
std::optional<RegistryValue> ParseHexData(std::string_view data, RegistryValue value) {
  size_t pos = 3;
  value.type = kRegBinaryType;
  // "hex:" is plain binary; "hex(N):" gives the type the bytes stand for.
  if (data.substr(pos, 1) == ":") {
    ++pos;
  } else if (const auto type = ReadTypeSuffix(data, pos)) {
    value.type = *type;
  } else {
    return std::nullopt;
  }
  const auto bytes = ParseHexBytes(data.substr(pos));
  if (!bytes) return std::nullopt;
  value.data = IsStringType(value.type) ? Utf16LeBytesToUtf8(*bytes) : *bytes;
  return value;
}

// Any other form (a future type, a damaged line) yields no value rather than
// a guess; the line is skipped.
std::optional<RegistryValue> ParseValueData(std::string_view data, RegistryValue value) {
  if (data.starts_with("\"") || data.starts_with("str(")) {
    return ParseStringData(data, std::move(value));
  }
  if (data.starts_with("dword:")) return ParseDwordData(data, std::move(value));
  if (data.starts_with("hex")) return ParseHexData(data, std::move(value));
  return std::nullopt;
}

// One value line ("Name"=data or @=data), continuation lines already joined.
std::optional<RegistryValue> ParseValueLine(std::string_view line) {
  RegistryValue value;
  // "@" is the key's default value, which has the empty name.
  size_t pos = 1;
  if (line[0] == '"') {
    size_t end = 0;
    const auto name = DecodeRegistryString(line.substr(1), end);
    if (!name) return std::nullopt;
    value.name = *name;
    pos = 1 + end;
  }
  while (pos < line.size() && line[pos] == ' ') ++pos;
  if (pos >= line.size() || line[pos] != '=') return std::nullopt;
  ++pos;
  while (pos < line.size() && line[pos] == ' ') ++pos;
  return ParseValueData(line.substr(pos), std::move(value));
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    // A file copied from Windows may end its lines in CR LF.
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The value line at lines[i] with the continuation lines of hex data joined
// (a trailing "\" continues on the next line); advances i past them.
std::string JoinContinuations(const std::vector<std::string_view>& lines, size_t& i) {
  std::string joined(lines[i]);
  // Only hex data continues; a string that ends in a backslash is complete.
  if (joined.find("=hex") == std::string::npos) return joined;
  while (joined.ends_with('\\') && i + 1 < lines.size()) {
    joined.pop_back();
    std::string_view next = lines[++i];
    while (!next.empty() && (next[0] == ' ' || next[0] == '\t')) next.remove_prefix(1);
    joined += next;
  }
  return joined;
}

// Value names are case-insensitive; a later line for the same name wins, as
// when the file is loaded.
void StoreValue(RegistryValue value, std::vector<RegistryValue>& values) {
  for (RegistryValue& existing : values) {
    if (EqualsIgnoringAsciiCase(existing.name, value.name)) {
      existing = std::move(value);
      return;
    }
  }
  values.push_back(std::move(value));
}

}  // namespace

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::optional<std::string> DecodeRegistryString(std::string_view text, size_t& end, char closing) {
  Utf16ToUtf8 out;
  for (size_t pos = 0; pos < text.size();) {
    const char c = text[pos];
    if (c == closing) {
      end = pos + 1;
      return out.Finish();
    }
    if (c == '\\' && pos + 1 < text.size()) {
      ++pos;
      DecodeEscape(text, pos, out);
    // Bytes outside ASCII are already UTF-8 in the file; only escapes hold
    // UTF-16 units.
    } else if (static_cast<unsigned char>(c) >= 0x80) {
      out.RawByte(c);
      ++pos;
    } else {
      out.Unit(static_cast<unsigned char>(c));
      ++pos;
    }
  }
  return std::nullopt;
}

std::optional<std::vector<RegistryValue>> FindWineRegistryKey(
    std::string_view file_text, const std::vector<std::string>& path) {
  const std::vector<std::string_view> lines = SplitLines(file_text);
  std::vector<RegistryValue> values;
  bool found = false;
  bool in_key = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line.empty()) continue;
    if (line[0] == '[') {
      const KeyMatch match = MatchSection(line, path);
      // The same key may appear in more than one section; values collect
      // across all of them.
      in_key = match == KeyMatch::kExact;
      found = found || match != KeyMatch::kNone;
      // Comment lines (";") and key metadata ("#time=", "#class=") are skipped
      // by falling through: neither holds a value.
    } else if (in_key && (line[0] == '"' || line[0] == '@')) {
      if (auto value = ParseValueLine(JoinContinuations(lines, i))) {
        StoreValue(std::move(*value), values);
      }
    }
  }
  if (!found) return std::nullopt;
  return values;
}

}  // namespace typrosync

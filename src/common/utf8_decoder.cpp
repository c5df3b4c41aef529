#include "common/utf8_decoder.h"

namespace typrosync {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

Utf8Char DecodeUtf8At(std::string_view text, size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  Utf8Char invalid{1, lead, false};
  if (lead < 0x80) return {1, lead, true};
  size_t size;
  char32_t code;
  char32_t minimum;
  // C0 and C1 could only start overlong forms, F5 to FF only code points
  // beyond Unicode: they start nothing.
  if (lead >= 0xC2 && lead <= 0xDF) {
    size = 2, code = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    size = 3, code = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    size = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    return invalid;
  }
  // A cut-off or broken sequence gives up only its lead byte; the bytes
  // after it are walked again, so a valid character behind stays whole.
  if (text.size() - pos < size) return invalid;
  for (size_t i = 1; i < size; ++i) {
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if (!IsContinuation(byte)) return invalid;
    code = (code << 6) | (byte & 0x3F);
  }
  // Overlong forms, surrogates and code points beyond Unicode are not text.
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return invalid;
  return {size, code, true};
}

void AppendUtf8(char32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace typrosync

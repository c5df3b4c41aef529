#pragma once
// Hexadecimal digits for digests, salts and percent-encoded paths.

namespace typrosync {

// The digit of the low four bits of `value`, lower case unless `upper`.
constexpr char HexDigit(unsigned value, bool upper = false) {
  return (upper ? "0123456789ABCDEF" : "0123456789abcdef")[value & 15];
}

}  // namespace typrosync

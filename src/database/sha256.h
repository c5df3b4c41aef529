#pragma once
// SHA-256 (FIPS 180-4), kept here so the password check needs no library.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace typrosync {

std::array<uint8_t, 32> Sha256(std::string_view data);

// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view data);

}  // namespace typrosync

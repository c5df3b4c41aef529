#pragma once
// Reading FTP directory listings and matching names against a search pattern.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace typrosync {

struct FtpListEntry {
  std::string name;
  int64_t size = 0;
};

// Entries of an MLSD listing (machine facts, then a space and the name);
// the folder itself and its parent are left out.
std::vector<FtpListEntry> ParseMlsdListing(const std::string& listing);
// Entries of a Unix-style LIST listing ("-rw-r--r-- 1 o g SIZE Mon DD HH:MM name").
std::vector<FtpListEntry> ParseUnixListing(const std::string& listing);


}  // namespace typrosync

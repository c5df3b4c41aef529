#include "transport/ftp_listing.h"

#include <cctype>
#include <charconv>
#include <sstream>

namespace typrosync {
namespace {

// Servers end listing lines with CR LF or LF alone; blank lines carry nothing.
std::vector<std::string> Lines(const std::string& listing) {
  std::vector<std::string> lines;
  std::istringstream in(listing);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// A size that does not read counts as 0 rather than dropping the entry.
int64_t ParseSize(const std::string& text) {
  int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// Fact names and types are case-insensitive in MLSD.
std::string Lower(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

}  // namespace

std::vector<FtpListEntry> ParseMlsdListing(const std::string& listing) {
  std::vector<FtpListEntry> entries;
  for (const std::string& line : Lines(listing)) {
    // "fact=value;fact=value; name": the first space ends the facts, and the
    // name after it may hold further spaces.
    size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    FtpListEntry entry{line.substr(space + 1), 0};
    std::string type;
    std::istringstream facts(line.substr(0, space));
    std::string fact;
    while (std::getline(facts, fact, ';')) {
      size_t equals = fact.find('=');
      if (equals == std::string::npos) continue;
      std::string key = Lower(fact.substr(0, equals));
      if (key == "size") entry.size = ParseSize(fact.substr(equals + 1));
      if (key == "type") type = Lower(fact.substr(equals + 1));
    }
    // The folder itself and its parent are no entries of it.
    if (type == "cdir" || type == "pdir") continue;
    entries.push_back(entry);
  }
  return entries;
}

std::vector<FtpListEntry> ParseUnixListing(const std::string& listing) {
  std::vector<FtpListEntry> entries;
  for (const std::string& line : Lines(listing)) {
    // Eight fields precede the name, which may itself hold spaces.
    size_t pos = 0;
    std::string fields[8];
    bool complete = true;
    for (std::string& field : fields) {
      while (pos < line.size() && line[pos] == ' ') ++pos;
      size_t end = line.find(' ', pos);
      if (end == std::string::npos) {
        complete = false;
        break;
      }
      field = line.substr(pos, end - pos);
      pos = end;
    }
    if (!complete || pos + 1 > line.size()) continue;
    std::string name = line.substr(pos + 1);
    if (name == "." || name == "..") continue;
    entries.push_back({name, ParseSize(fields[4])});
  }
  return entries;
}

}  // namespace typrosync

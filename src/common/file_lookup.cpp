#include "common/file_lookup.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "common/wildcard.h"

namespace typrosync {

namespace fs = std::filesystem;

namespace {

// As the directory look-up of the platform the program came from: a pattern
// ending in ".*" also matches names without a dot ("*.*" matches everything).
bool MatchesEntry(std::string_view pattern, std::string_view name) {
  if (MatchesWildcard(pattern, name)) return true;
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
    return MatchesWildcard(pattern.substr(0, pattern.size() - 2), name);
  }
  return false;
}

bool AnyEntryMatches(const fs::path& folder, const std::string& pattern) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) return false;
  // Every folder lists its own "." and ".." entries.
  if (MatchesEntry(pattern, ".") || MatchesEntry(pattern, "..")) return true;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (MatchesEntry(pattern, it->path().filename().string())) return true;
  }
  return false;
}

}  // namespace

bool IsFolderSeparator(char ch) { return ch == '/'; }

char NativeFolderSeparator() { return '/'; }

bool DirectoryEntryExists(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.find_first_of("*?") == std::string::npos) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
  }
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  return AnyEntryMatches(folder, name);
}

}  // namespace typrosync

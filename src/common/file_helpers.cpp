#include "common/file_helpers.h"

#include <filesystem>
#include <system_error>

#include "common/locale_settings.h"
#include "common/utf8_text.h"
#include "common/vb_error.h"
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

bool BestaatBestand(std::string& sPad) {
  if (sPad.ends_with("/")) sPad += "*.*";
  if (sPad.empty()) return false;
  const size_t slash = sPad.rfind('/');
  const std::string name = slash == std::string::npos ? sPad : sPad.substr(slash + 1);
  if (name.find_first_of("*?") == std::string::npos) {
    std::error_code error;
    return fs::exists(fs::symlink_status(sPad, error));
  }
  const std::string folder = slash == std::string::npos ? "." : sPad.substr(0, slash + 1);
  return AnyEntryMatches(folder, name);
}

std::string VerwijderTeken(const std::string& sTekst, const std::string& sTeken) {
  if (Utf8Length(sTeken) != 1) return sTekst;
  std::string out;
  out.reserve(sTekst.size());
  for (std::string_view character : Utf8Characters(sTekst)) {
    if (character != sTeken) out += character;
  }
  return out;
}

std::string MaakBestandsnaamVeilig(std::string& sTekst) {
  for (const char* forbidden : {":", "/", "\\", "?", "!", "<", ">", "*", "\"", "|"}) {
    sTekst = VerwijderTeken(sTekst, forbidden);
  }
  return sTekst;
}

std::string WithFinalSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

int16_t AantalDecimalen(const std::string& sTekst, const Separators& separators) {
  const std::string& decimal = separators.gsDecimaalTeken;
  // An empty separator (a locale without one) occurs nowhere.
  if (decimal.empty()) return 0;
  const size_t pos = sTekst.find(decimal);
  if (pos == std::string::npos) return 0;
  const size_t count = Utf8Length(std::string_view(sTekst).substr(pos + decimal.size()));
  if (count > 32767) throw VbError::Overflow();
  return static_cast<int16_t>(count);
}

}  // namespace typrosync

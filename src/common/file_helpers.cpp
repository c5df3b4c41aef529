#include "common/file_helpers.h"

#include "common/file_lookup.h"
#include "common/locale_settings.h"
#include "common/utf8_text.h"
#include "common/vb_error.h"

namespace typrosync {

bool BestaatBestand(std::string& sPad) {
  if (!sPad.empty() && IsFolderSeparator(sPad.back())) sPad += "*.*";
  if (sPad.empty()) return false;
  return DirectoryEntryExists(sPad);
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

std::filesystem::path PathFromUtf8(std::string_view path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string WithFinalSlash(std::string folder) {
  if (!folder.empty() && !IsFolderSeparator(folder.back())) folder += NativeFolderSeparator();
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

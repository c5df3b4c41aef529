#include "common/registry.h"

#include <algorithm>

#include "common/registry_platform.h"

namespace typrosync {

Variant RegistryReader::LeesRegisterTekst(uint32_t hive, const std::string& sSleutel,
                                          const std::string& name) {
  std::string value;
  uint32_t key = 0;
  if (OpenRegisterSleutel(hive, sSleutel, key)) {
    LeesRegisterWaarde(key, name, value);
    SluitRegisterSleutel(key);
  }
  // A value written with its NUL or padded by the writer still reads as the
  // text alone; NUL bytes never belong to a setting.
  std::erase(value, '\0');
  return Variant(std::move(value));
}

bool RegistryReader::OpenRegisterSleutel(uint32_t hive, const std::string& sSleutel,
                                         uint32_t& key) {
  return keys_.OpenKey(hive, sSleutel, key) == registry_platform::kSuccess;
}

bool RegistryReader::LeesRegisterWaarde(uint32_t key, const std::string& name,
                                        std::string& value) {
  uint32_t type = 0;
  uint32_t size = 0;
  if (keys_.QueryValue(key, name, type, nullptr, size) !=
          registry_platform::kSuccess ||
      type != kRegSz) {
    return false;
  }
  // The buffer keeps the asked size even when less is written, as the
  // platform call leaves it.
  std::string buffer(size, ' ');
  if (keys_.QueryValue(key, name, type, &buffer, size) !=
      registry_platform::kSuccess) {
    return false;
  }
  value = VerwijderAfsluitNul(buffer);
  return true;
}

std::string VerwijderAfsluitNul(const std::string& sTekst) {
  if (sTekst.size() >= 2 && sTekst.back() == '\0') return sTekst.substr(0, sTekst.size() - 1);
  return sTekst;
}

bool RegistryReader::SluitRegisterSleutel(uint32_t key) {
  return keys_.CloseKey(key) == registry_platform::kSuccess;
}

}  // namespace typrosync

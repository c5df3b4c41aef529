#include "common/registry.h"

#include <algorithm>

#include "common/registry_platform.h"

namespace typrosync {

Variant RegistryReader::LeesRegisterTekst(uint32_t lHive, const std::string& sSleutel,
                                          const std::string& sNaam) {
  std::string sWaarde;
  uint32_t lSleutel = 0;
  if (OpenRegisterSleutel(lHive, sSleutel, lSleutel)) {
    LeesRegisterWaarde(lSleutel, sNaam, sWaarde);
    SluitRegisterSleutel(lSleutel);
  }
  std::erase(sWaarde, '\0');
  return Variant(std::move(sWaarde));
}

bool RegistryReader::OpenRegisterSleutel(uint32_t lHive, const std::string& sSleutel,
                                         uint32_t& lSleutel) {
  return keys_.OpenKey(lHive, sSleutel, lSleutel) == registry_platform::kSuccess;
}

bool RegistryReader::LeesRegisterWaarde(uint32_t lSleutel, const std::string& sNaam,
                                        std::string& sWaarde) {
  uint32_t lType = 0;
  uint32_t lGrootte = 0;
  if (keys_.QueryValue(lSleutel, sNaam, lType, nullptr, lGrootte) !=
          registry_platform::kSuccess ||
      lType != kRegSz) {
    return false;
  }
  // The buffer keeps the asked size even when less is written, as the
  // platform call leaves it.
  std::string sBuffer(lGrootte, ' ');
  if (keys_.QueryValue(lSleutel, sNaam, lType, &sBuffer, lGrootte) !=
      registry_platform::kSuccess) {
    return false;
  }
  sWaarde = VerwijderAfsluitNul(sBuffer);
  return true;
}

std::string VerwijderAfsluitNul(const std::string& sTekst) {
  if (sTekst.size() >= 2 && sTekst.back() == '\0') return sTekst.substr(0, sTekst.size() - 1);
  return sTekst;
}

bool RegistryReader::SluitRegisterSleutel(uint32_t lSleutel) {
  return keys_.CloseKey(lSleutel) == registry_platform::kSuccess;
}

}  // namespace typrosync

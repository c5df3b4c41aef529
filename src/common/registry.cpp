#include "common/registry.h"

namespace typrosync {

Variant LeesRegisterTekst(uint32_t, const std::string&, const std::string&) {
  return Variant(std::string());
}
bool OpenRegisterSleutel(uint32_t, const std::string&, uint32_t&) { return false; }
bool LeesRegisterWaarde(uint32_t, const std::string&, std::string&) { return false; }
std::string VerwijderAfsluitNul(const std::string& sTekst) { return sTekst; }
bool SluitRegisterSleutel(uint32_t) { return false; }

}  // namespace typrosync

#include "common/date_functions.h"

namespace typrosync {

std::string DatumNaarTekst(std::string& sDatum, bool) { return sDatum; }
Variant MaandConversie(const Variant&, bool) { return Variant(); }
std::string DatumOmkeren(std::string& sDatum, bool) { return sDatum; }
std::string VoorloopNullen(int32_t getal, int16_t) { return std::to_string(getal); }

}  // namespace typrosync

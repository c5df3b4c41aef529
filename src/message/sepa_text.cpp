#include "message/sepa_text.h"

namespace typrosync {

std::string MaakSepaTekst(std::string& sTekst, int16_t) { return sTekst; }
std::string VerwijderAccenten(const std::string& sTekst) { return sTekst; }
std::string VervangAlles(std::string sTekst, const std::string&, const std::string&) {
  return sTekst;
}
std::string OpmaakPostcode(std::string& sPostcode) { return sPostcode; }
bool IsNederlandsePostcode(std::string&) { return false; }
bool IsNumeriekeTekst(const std::string&, bool) { return false; }

}  // namespace typrosync

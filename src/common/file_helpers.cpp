#include "common/file_helpers.h"

namespace typrosync {

bool BestaatBestand(std::string&) { return false; }
std::string VerwijderTeken(const std::string& sTekst, const std::string&) { return sTekst; }
std::string MaakBestandsnaamVeilig(std::string& sTekst) { return sTekst; }
int16_t AantalDecimalen(const std::string&) { return 0; }

}  // namespace typrosync

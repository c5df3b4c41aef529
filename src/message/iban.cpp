#include "message/iban.h"

namespace typrosync {

bool IsSepaLandIban(const std::string&) { return true; }
bool IsGeldigeIban(std::string) { return false; }
int16_t RestNaDeling(std::string&, int16_t) { return 0; }

}  // namespace typrosync

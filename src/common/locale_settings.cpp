#include "common/locale_settings.h"

namespace typrosync {

std::string gsDecimaalTeken;
std::string gsDuizendTeken;
std::string gsDecimaalTekenGetal;
std::string gsDuizendTekenGetal;
std::string gsSpatie = " ";
std::string gsApplicatieTitel = "Beheer - TallyraPro";

long GetUserDefaultLCID() { return kUserDefaultLocale; }
std::string GetLandinstelling(long, long) { return ""; }
void LeesLandinstellingen() {}

}  // namespace typrosync

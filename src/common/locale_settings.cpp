#include "common/locale_settings.h"

#include <clocale>

namespace typrosync {

// Until LeesLandinstellingen runs, the settings are those of the Dutch
// systems the program serves, so that code used without a start-up (tools,
// tests) writes the same texts.
std::string gsDecimaalTeken = ",";
std::string gsDuizendTeken = ".";
std::string gsDecimaalTekenGetal = ",";
std::string gsDuizendTekenGetal = ".";
std::string gsSpatie = " ";
std::string gsApplicatieTitel = "Beheer - TallyraPro";

long GetUserDefaultLCID() { return kUserDefaultLocale; }

std::string GetLandinstelling(long /*locale_id*/, long item) {
  const std::lconv* conventions = std::localeconv();
  if (conventions == nullptr) return "";
  const char* text = nullptr;
  switch (item) {
    case kLocaleDecimalSep:
      text = conventions->decimal_point;
      break;
    case kLocaleThousandSep:
      text = conventions->thousands_sep;
      break;
    case kLocaleMonDecimalSep:
      text = conventions->mon_decimal_point;
      break;
    case kLocaleMonThousandSep:
      text = conventions->mon_thousands_sep;
      break;
    default:
      return "";
  }
  return text == nullptr ? "" : text;
}

void LeesLandinstellingen() {
  const long locale = GetUserDefaultLCID();
  gsSpatie = " ";
  gsApplicatieTitel = "Beheer - TallyraPro";
  // A locale without monetary separators (C, POSIX: the usual locale of a
  // service) would leave every amount without decimals; such a machine gets
  // the Dutch conventions of the administrations it serves instead.
  if (GetLandinstelling(locale, kLocaleMonDecimalSep).empty()) {
    gsDecimaalTeken = gsDecimaalTekenGetal = ",";
    gsDuizendTeken = gsDuizendTekenGetal = ".";
    return;
  }
  gsDecimaalTeken = GetLandinstelling(locale, kLocaleMonDecimalSep);
  gsDuizendTeken = GetLandinstelling(locale, kLocaleMonThousandSep);
  gsDecimaalTekenGetal = GetLandinstelling(locale, kLocaleDecimalSep);
  gsDuizendTekenGetal = GetLandinstelling(locale, kLocaleThousandSep);
}

}  // namespace typrosync

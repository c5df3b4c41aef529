#include "common/locale_settings.h"

#include <clocale>

namespace typrosync {

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

Separators LeesLandinstellingen() {
  const long locale = GetUserDefaultLCID();
  // A locale without monetary separators (C, POSIX: the usual locale of a
  // service) would leave every amount without decimals; such a machine gets
  // the Dutch conventions of the administrations it serves instead.
  if (GetLandinstelling(locale, kLocaleMonDecimalSep).empty()) return Separators{};
  return {GetLandinstelling(locale, kLocaleMonDecimalSep),
          GetLandinstelling(locale, kLocaleMonThousandSep),
          GetLandinstelling(locale, kLocaleDecimalSep),
          GetLandinstelling(locale, kLocaleThousandSep)};
}

}  // namespace typrosync

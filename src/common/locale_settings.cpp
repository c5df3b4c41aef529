#include "common/locale_settings.h"

#include <clocale>

namespace typrosync {

long GetUserDefaultLCID() { return kUserDefaultLocale; }

std::string GetLandinstelling(long /*locale_id*/, long item) {
  // The process locale stands in for the user's: on Linux the run inherits it
  // from its environment (LANG, LC_NUMERIC, LC_MONETARY).
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

}  // namespace typrosync

#include "common/locale_settings.h"

// Shared by every platform: only GetLandinstelling differs per platform.
namespace typrosync {

Separators ReadLocaleSeparators() {
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

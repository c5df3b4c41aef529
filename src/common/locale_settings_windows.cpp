#include <windows.h>

#include "common/locale_settings.h"
#include "common/windows_text.h"

namespace typrosync {

long GetUserDefaultLCID() { return kUserDefaultLocale; }

// On Windows the user's regional settings answer directly; no setlocale
// is involved.
std::string GetLandinstelling(long /*locale_id*/, long item) {
  LCTYPE type = 0;
  switch (item) {
    case kLocaleDecimalSep:
      type = LOCALE_SDECIMAL;
      break;
    case kLocaleThousandSep:
      type = LOCALE_STHOUSAND;
      break;
    case kLocaleMonDecimalSep:
      type = LOCALE_SMONDECIMALSEP;
      break;
    case kLocaleMonThousandSep:
      type = LOCALE_SMONTHOUSANDSEP;
      break;
    default:
      return "";
  }
  wchar_t buffer[16] = {};  // the items hold at most 4 characters
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 16);
  if (length <= 1) return "";  // failed, or only the terminating NUL
  return Utf8FromWide(std::wstring_view(buffer, static_cast<size_t>(length - 1)));
}

}  // namespace typrosync

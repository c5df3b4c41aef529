#include "common/month_names.h"

// Windows: the user's regional settings answer directly, as for the
// separators; the C runtime's locale plays no part.
#include <windows.h>

#include "common/windows_text.h"

namespace typrosync {

std::string MonthAbbreviation(int month) {
  if (month < 1 || month > 12) return "";
  const LCTYPE item = LOCALE_SABBREVMONTHNAME1 + static_cast<LCTYPE>(month - 1);
  wchar_t buffer[80] = {};  // the item holds at most 80 characters, NUL included
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, 80);
  if (length <= 1) return "";  // failed, or only the terminating NUL
  return Utf8FromWide(std::wstring_view(buffer, static_cast<size_t>(length - 1)));
}

}  // namespace typrosync

#include "common/date_functions.h"

#include <array>
#include <cmath>
#include <optional>

#include "common/locale_settings.h"
#include "common/number_text.h"
#include "common/utf8_text.h"

namespace typrosync {

namespace {

struct Month {
  const char* abbreviation;  // accepted in upper case
  const char* short_name;
  const char* long_name;
};

constexpr std::array<Month, 12> kMonths = {{
    {"JAN", "jan", "januari"},
    {"FEB", "feb", "februari"},
    {"MRT", "mrt", "maart"},
    {"APR", "apr", "april"},
    {"MEI", "mei", "mei"},
    {"JUN", "jun", "juni"},
    {"JUL", "jul", "juli"},
    {"AUG", "aug", "augustus"},
    {"SEP", "sep", "september"},
    {"OKT", "okt", "oktober"},
    {"NOV", "nov", "november"},
    {"DEC", "dec", "december"},
}};

// Only ASCII letters change case: month abbreviations are plain ASCII and an
// accented text must not match one by accident.
std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The month number of "1".."12" or "01".."09"; nullopt otherwise.
std::optional<size_t> MonthOfNumberText(const std::string& text) {
  for (size_t m = 1; m <= 12; ++m) {
    const std::string plain = std::to_string(m);
    if (text == plain || (m < 10 && text == "0" + plain)) return m;
  }
  return std::nullopt;
}

// A text read as a 32-bit whole number the way the platform converts it
// (rounded, halves to even); nullopt when it is no number or out of range.
std::optional<int32_t> WholeNumber(const std::string& text) {
  const auto number = TryParseNumber(text);
  if (!number) return std::nullopt;
  const double rounded = RoundHalfEven(*number);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return std::nullopt;
  return static_cast<int32_t>(rounded);
}

// The display text of an eight-character yyyymmdd text; sets `empty_date`
// for the year "0000".
std::string EightDigitDate(const std::string& text, bool& empty_date) {
  const std::string year = Utf8Mid(text, 1, 4);
  std::string month = TrimSpaces(Utf8Mid(text, 5, 2));
  const std::string day = TrimSpaces(Utf8Mid(text, 7, 2));
  // A one-digit month ("2019 3 5" style exports) is padded before lookup.
  if (Utf8Length(month) == 1) {
    if (const auto number = WholeNumber(month)) month = VoorloopNullen(*number, 2);
  }
  const std::string abbreviation = MaandConversie(Variant(month), false).Text();
  empty_date = year == "0000";
  // A day that is no number is shown as it stands.
  const auto day_number = TryParseNumber(day);
  if (day_number && *day_number == 0) return abbreviation + gsSpatie + year;
  return day + gsSpatie + abbreviation + gsSpatie + year;
}

}  // namespace

std::string DatumNaarTekst(std::string& date, bool swap_first) {
  // The flag means the caller's text is in ddmmyyyy order.
  if (swap_first) date = DatumOmkeren(date, true);
  bool empty_date = false;
  std::string text = Utf8Length(date) == 8 ? EightDigitDate(date, empty_date) : date;
  text = TrimSpaces(text);
  if (text.starts_with("0")) text[0] = ' ';  // days 1-9 right-aligned
  if (empty_date) return "";
  return text;
}

Variant MaandConversie(const Variant& month_value, bool long_form) {
  const std::string text = UpperAscii(month_value.Text());
  for (size_t m = 0; m < kMonths.size(); ++m) {
    if (text == kMonths[m].abbreviation) return Variant(static_cast<int>(m + 1));
  }
  if (const auto month = MonthOfNumberText(text)) {
    const Month& entry = kMonths[*month - 1];
    return Variant(std::string(long_form ? entry.long_name : entry.short_name));
  }
  return Variant();
}

std::string DatumOmkeren(std::string& date, bool to_stored) {
  // One direction only swaps characters and so passes any non-date text
  // through; the other reads the text as a number first, which drops blanks
  // and pads a short date such as 1052024 to eight digits.
  if (!to_stored) {
    if (Utf8Length(date) != 8) return date;
    return Utf8Mid(date, 7, 2) + Utf8Mid(date, 5, 2) + Utf8Mid(date, 1, 4);
  }
  if (date.empty()) return date;
  const auto number = WholeNumber(date);
  if (!number) return date;
  date = VoorloopNullen(*number, 8);
  return Utf8Mid(date, 5, 4) + Utf8Mid(date, 3, 2) + Utf8Mid(date, 1, 2);
}

std::string VoorloopNullen(int32_t number, int16_t width) {
  if (width < 0) return "";
  std::string text = std::to_string(number);
  const auto size = static_cast<size_t>(width);
  if (text.size() < size) text.insert(0, size - text.size(), '0');
  // A number wider than asked keeps its leftmost digits, not its rightmost.
  return text.substr(0, size);
}

}  // namespace typrosync

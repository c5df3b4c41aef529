#pragma once
// The separator settings of the user's locale: a value the run owns, made
// once at start-up by ReadLocaleSeparators and handed to every number text.
// NormaliseerBedrag pins the two monetary ones to "," and "." in that value
// for the rest of the run.

#include <string>

namespace typrosync {

// The defaults are those of the Dutch systems the program serves, so that
// code used without a start-up (tools, tests) writes the same texts.
struct Separators {
  // Monetary decimal and thousands separators (locale items 0x16 and 0x17).
  std::string gsDecimaalTeken = ",";
  std::string gsDuizendTeken = ".";
  // Number decimal and thousands separators (locale items 0x0E and 0x0F).
  std::string gsDecimaalTekenGetal = ",";
  std::string gsDuizendTekenGetal = ".";

  bool operator==(const Separators&) const = default;
};

// One space; the words of display texts are joined with it.
inline const std::string gsSpatie = " ";
// Title of the message boxes shown during a run.
inline const std::string gsApplicatieTitel = "Beheer - TallyraPro";

// Locale ids: the user's default locale, which here is the process locale.
inline constexpr long kUserDefaultLocale = 0x400;

// Locale items understood by GetLandinstelling.
inline constexpr long kLocaleDecimalSep = 0x0E;
inline constexpr long kLocaleThousandSep = 0x0F;
inline constexpr long kLocaleMonDecimalSep = 0x16;
inline constexpr long kLocaleMonThousandSep = 0x17;

// The locale's id for the user; the process locale stands in for it.
long GetUserDefaultLCID();

// The text of one locale item of the process locale (as set by setlocale);
// empty when the locale has none or the item is not one of the four above.
// The locale id is accepted for the caller's sake; only the process locale exists.
std::string GetLandinstelling(long locale_id, long item);

// The four separator settings of the process locale (call setlocale first).
// A locale without monetary separators ("C", "POSIX") gives the Dutch ","
// and "." for all four, as a default Separators has.
Separators ReadLocaleSeparators();

}  // namespace typrosync

#pragma once
// The separator settings of the user's locale, kept as module state because
// every number text of the run reads them. Filled once at start-up by
// LeesLandinstellingen; NormaliseerBedrag later pins the two monetary ones to
// "," and "." for the rest of the run.

#include <string>

namespace typrosync {

// Monetary decimal and thousands separators (locale items 0x16 and 0x17).
extern std::string gsDecimaalTeken;
extern std::string gsDuizendTeken;
// Number decimal and thousands separators (locale items 0x0E and 0x0F).
extern std::string gsDecimaalTekenGetal;
extern std::string gsDuizendTekenGetal;
// One space; the words of display texts are joined with it.
extern std::string gsSpatie;
// Title of the message boxes shown during a run.
extern std::string gsApplicatieTitel;

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

// Fills the four separator settings from the process locale (call setlocale
// first) and sets gsSpatie and gsApplicatieTitel. A locale without monetary
// separators ("C", "POSIX") gives the Dutch "," and "." for all four, as do
// the settings before this call.
void LeesLandinstellingen();

}  // namespace typrosync

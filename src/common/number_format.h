#pragma once
// Number texts of a fixed shape made from loosely typed values: two-decimal
// amounts with grouping for display, and texts with a fixed number of decimals
// for the delivery message. Texts typed by users (grouping points, spaces,
// percent signs, exponents, "n/a") are cleaned first. The separators are the
// run's Separators (locale_settings.h), which NormaliseerBedrag changes and
// the others may change through it. None of these functions throws for bad
// input.

#include <cstdint>
#include <string>

#include "common/locale_settings.h"
#include "common/variant.h"

namespace typrosync {

// Counts the occurrences of the one-character text `ch` in `text` (exact,
// case-sensitive). An empty `ch` becomes "X" in the caller's variable first.
int16_t TelTeken(std::string& text, std::string& ch);

// The value with `decimals` decimals (truncated; 0 means truncated to a whole
// number) through NormaliseerGetal, grouped with gsDuizendTeken when asked.
// An empty value becomes 0 in the caller's variable; on any failure the value
// is set to 0 and the text built so far is returned.
std::string FormatGetal(Separators& separators, Variant& value, int16_t decimals, bool grouping);

// The value as a text with `decimals` decimals (truncated; negatives rounded
// to two decimals), or "n/a" for values above 1000 (negatives below -10000)
// unless `allow_large`. Sets a `decimals` of 0 to 2 and removes every "%"
// and space from `value` itself.
std::string NormaliseerGetal(Separators& separators, Variant& value, int16_t& decimals,
                             bool allow_large);

// The value as an amount with two decimals and grouping ("1.234,50"); the zero
// amount for anything unreadable. `brackets` writes negatives as "<...>",
// `whole_units` drops the decimals (truncated), `rounding` rounds to whole
// units (halves to even). Sets gsDecimaalTeken/gsDuizendTeken of
// `separators` to "," and ".".
std::string NormaliseerBedrag(Separators& separators, Variant& value, bool brackets = false,
                              bool whole_units = false, bool rounding = false);

}  // namespace typrosync

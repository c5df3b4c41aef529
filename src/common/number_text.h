#pragma once
// Numbers as texts in the Dutch conventions the administration's systems use:
// decimal comma, grouping point. These are the platform conversions every
// other module builds on (the text of a number, a text read as a number, the
// leading-number rule, rounding and the 16/32-bit range checks). They do not
// depend on the process locale.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace typrosync {

// Text of a double: decimal comma, no grouping, at most 15 significant digits,
// exponent form ("1E+15", "1,5E-05") at and above 1E15 and below 1E-4.
std::string FormatDouble(double value);

// Reads a text as a number: surrounding spaces, one leading sign, grouping
// points in the whole part, one decimal comma, an exponent with E. Nothing else.
std::optional<double> TryParseNumber(std::string_view text);
// As TryParseNumber; a text that is not a number throws error 13, a number
// beyond the double range error 6.
double ParseNumber(std::string_view text);

// The exact decimal value of a number text (read as TryParseNumber does, the
// exponent included) written without exponent: decimal comma, no grouping, no
// trailing zeros, at most 28 decimals and 29 digits (halves to even beyond).
// nullopt when the text is not a number or too large ("1E-3" gives "0,001").
std::optional<std::string> DecimalText(std::string_view text);

// The value with exactly `decimals` decimals (0 and up), decimal comma, no
// grouping, rounded halves away from zero on its 15-digit text ("0.00").
std::string FormatFixed(double value, int decimals);

// The leading-number rule: blanks are skipped, then an optional sign, digits
// with an optional point as decimal separator and an optional exponent are
// read as far as they go. 0 when the text does not start with a number.
double LeadingNumber(std::string_view text);

// Rounds to a whole number, halves to the even neighbour.
double RoundHalfEven(double value);
// Rounds to a whole number, halves away from zero.
double RoundHalfAway(double value);
// Rounds to `decimals` places, halves away from zero, via the exact decimal
// text of the value so that 2.675 reaches 2.68 as its text promises.
double RoundDecimalHalfAway(double value, int decimals);

// Rounded half to even and range-checked: error 6 outside the 16/32-bit range.
int16_t ToInteger16(double value);
int32_t ToLong32(double value);

}  // namespace typrosync

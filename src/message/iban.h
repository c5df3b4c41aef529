#pragma once
// Checks of international bank account numbers (ISO 13616) and of the SEPA
// payment area, by the mod-97 rule.

#include <cstdint>
#include <string>

namespace typrosync {

// The countries of the SEPA area, each code between vertical bars.
inline constexpr char kSepaLanden[] =
    "|AT|BE|BG|CH|CY|CZ|DE|DK|EE|ES|FI|FR|GB|GR|HR|HU|IE|IS|IT|LI|LT|LU|LV|MC|MT|NL|NO|PL|PT|RO|SE|"
    "SI|SK|SM|";

// False only for a valid IBAN whose first two characters (as given, upper
// cased) are not a SEPA country; anything that is not a valid IBAN passes.
bool IsSepaLandIban(const std::string& sTekst);

// True when the text, without spaces and the separators / : \ + - *, is at
// least 10 characters and passes the mod-97 check of ISO 13616.
bool IsGeldigeIban(std::string sTekst);

// The remainder of the (arbitrarily long) decimal number digits divided by
// divisor, taken four characters at a time so no step exceeds 10^6. An empty
// digits is set to "0". Throws VbError 11 for divisor 0, and 28 when the
// reduction cannot shorten the text (a divisor above 9999 stuck on its digits).
int16_t RestNaDeling(std::string& digits, int16_t divisor);

}  // namespace typrosync

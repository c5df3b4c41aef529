#pragma once
// Cleaning of the free-text values that go into a delivery message. The
// message is built by plain concatenation without XML escaping, so every such
// value is reduced to the 73 characters of the SEPA set first:
//   a-z A-Z 0-9 / - ? : ( ) . , ' + and the space.
// Texts are UTF-8; "character" below means one code point (a byte that is not
// valid UTF-8 counts as one character of its own and is never folded).

#include <cstdint>
#include <string>

#include "common/locale_settings.h"

namespace typrosync {

// The text reduced to the SEPA set: "&" becomes a space, ";" a comma, then
// accents are folded (VerwijderAccenten) and every other character dropped;
// spaces are trimmed and, when iMaxLengte is not 0, the result is cut to that
// many characters. The caller's sTekst keeps the replaced and folded form.
// Throws VbError 5 for a negative iMaxLengte.
std::string MaakSepaTekst(std::string& sTekst, int16_t iMaxLengte);

// A copy of the text without control characters (codes 0-31) and with the
// characters of code page 437 positions 128-255, the quotation mark, the
// grave accent and "<" folded by the fixed table (Ç -> C, æ -> ae, " -> ., box
// drawing and Greek signs removed, ...). Other characters pass unchanged.
std::string VerwijderAccenten(const std::string& sTekst);

// The text with every occurrence of search replaced by replacement, repeated while
// the text still holds search (at most 401 rounds). An empty search changes
// nothing. Throws VbError 14 when the text would grow beyond kMaxTekstLengte.
std::string VervangAlles(std::string sTekst, const std::string& search,
                         const std::string& replacement);
inline constexpr size_t kMaxTekstLengte = size_t{1} << 26;

// A Dutch postcode written as four digits, gsSpatie and two characters
// ("1234AB" -> "1234 AB"); the caller's variable loses its spaces then. Any
// other postcode comes back unchanged.
std::string OpmaakPostcode(std::string& postcode, const Separators& separators);

// True for four numeric characters followed by two non-numeric ones, spaces
// ignored. Removes the spaces from the caller's (non-empty) postcode.
bool IsNederlandsePostcode(std::string& postcode, const Separators& separators);

// True for a non-empty text of digits only; unless bAlleenCijfers, the number
// separators gsDecimaalTekenGetal and gsDuizendTekenGetal are accepted too.
bool IsNumeriekeTekst(const std::string& sTekst, bool bAlleenCijfers,
                      const Separators& separators);

}  // namespace typrosync

#pragma once
// The administration's eight-digit date texts (yyyymmdd) in the short Dutch
// display form, and the helpers behind it: Dutch month names, the swap between
// yyyymmdd and ddmmyyyy, and left-padding numbers with zeros.

#include <cstdint>
#include <string>

#include "common/variant.h"

namespace typrosync {

// "20240105" gives " 5 jan 2024", "20240100" "jan 2024", "00000000" "".
// Texts of another length come back trimmed (a leading "0" becomes a space).
// With `swap_first` the caller's text is taken as ddmmyyyy and first
// replaced by its yyyymmdd form (DatumOmkeren, direction set). Never throws.
std::string DatumNaarTekst(std::string& date, bool swap_first = false);

// "MRT" (any case) gives the number 3; "3" or "03" gives "mrt", or "maart"
// with `long_form`; anything else gives an Empty variant.
Variant MaandConversie(const Variant& month_value, bool long_form = false);

// Direction cleared: yyyymmdd becomes ddmmyyyy (other lengths unchanged).
// Direction set: the text is read as a whole number, written back into the
// caller's variable padded to 8 digits, and ddmmyyyy becomes yyyymmdd. When
// the text is no whole number it comes back unchanged.
std::string DatumOmkeren(std::string& date, bool to_stored);

// The number left-padded with "0" to `width`, then cut to `width`
// characters (123 with width 2 gives "12").
std::string VoorloopNullen(int32_t number, int16_t width);

}  // namespace typrosync

#include "common/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

#include "common/vb_error.h"

namespace typrosync {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// Only these four count as blanks around a number; a non-breaking space from
// a spreadsheet paste makes the text no number at all.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

enum class ReadStatus { kOk, kNotNumber, kOverflow };

struct Read {
  ReadStatus status = ReadStatus::kNotNumber;
  double value = 0;
};

// Order of magnitude of a plain C-form number "[-]ddd[.ddd][e[-]dd]": > 0 means
// at least 1, so an out-of-range result is an overflow, else an underflow.
long Magnitude(const std::string& plain) {
  const size_t e = plain.find('e');
  const std::string mantissa = plain.substr(0, e);
  long exponent = 0;
  if (e != std::string::npos) {
    const char* first = plain.data() + e + 1;
    if (*first == '+') ++first;
    std::from_chars(first, plain.data() + plain.size(), exponent);
  }
  const size_t point = mantissa.find('.');
  const std::string whole = mantissa.substr(0, point);
  const size_t nonzero = whole.find_first_not_of("-0");
  if (nonzero != std::string::npos) return static_cast<long>(whole.size() - nonzero) + exponent;
  const std::string fraction = point == std::string::npos ? "" : mantissa.substr(point + 1);
  return exponent - static_cast<long>(fraction.find_first_not_of('0'));
}

// Converts a plain C-form number without depending on the process locale.
Read FromPlain(const std::string& plain) {
  double value = 0;
  const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // from_chars says "out of range" both ways; only a too-large value is an
    // overflow, a too-small one quietly becomes a zero that keeps its sign.
    if (Magnitude(plain) > 0) return {ReadStatus::kOverflow, 0};
    return {ReadStatus::kOk, plain[0] == '-' ? -0.0 : 0.0};
  }
  if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) {
    return {ReadStatus::kNotNumber, 0};
  }
  return {ReadStatus::kOk, value};
}

// Digits and exponent of a number text in the Dutch form, as read by the
// platform: blanks around, one leading sign, grouping points in the whole
// part, one decimal comma, an exponent with E.
struct NumberParts {
  bool negative = false;
  std::string whole;     // digits only
  std::string fraction;  // digits only
  long exponent = 0;
};

std::optional<NumberParts> SplitNumber(std::string_view text) {
  size_t i = 0;
  size_t end = text.size();
  while (i < end && IsBlank(text[i])) ++i;
  while (end > i && IsBlank(text[end - 1])) --end;
  NumberParts parts;
  if (i < end && (text[i] == '-' || text[i] == '+')) parts.negative = text[i++] == '-';
  for (; i < end && (IsDigit(text[i]) || text[i] == '.'); ++i) {
    if (text[i] != '.') parts.whole += text[i];  // a point groups thousands
  }
  if (i < end && text[i] == ',') {
    for (++i; i < end && IsDigit(text[i]); ++i) parts.fraction += text[i];
  }
  // ",5" and "5," are numbers; a sign or a point alone is not.
  if (parts.whole.empty() && parts.fraction.empty()) return std::nullopt;
  if (i < end && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool exponent_negative = false;
    if (i < end && (text[i] == '-' || text[i] == '+')) exponent_negative = text[i++] == '-';
    const size_t digits_start = i;
    long exponent = 0;
    for (; i < end && IsDigit(text[i]); ++i) {
      // Saturate: anything this far out is beyond every range anyway.
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (i == digits_start) return std::nullopt;
    parts.exponent = exponent_negative ? -exponent : exponent;
  }
  if (i != end) return std::nullopt;
  return parts;
}

// Rebuilds the Dutch text as a C-form text so that the conversion never
// depends on the process locale.
Read ReadNumber(std::string_view text) {
  const auto parts = SplitNumber(text);
  if (!parts) return {};
  std::string plain = parts->negative ? "-" : "";
  plain += parts->whole.empty() ? "0" : parts->whole;
  if (!parts->fraction.empty()) plain += "." + parts->fraction;
  if (parts->exponent != 0) plain += "e" + std::to_string(parts->exponent);
  return FromPlain(plain);
}

// The 15 significant digits of a finite, non-zero value and the decimal
// exponent of the first one: value = d.dddddddddddddd * 10^exponent.
struct Digits15 {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

// Fifteen digits is what a double shows reliably; every text the program
// writes is built from these so that 0.1 + 0.2 reads as 0,3.
Digits15 SignificantDigits(double value) {
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  std::string text(buffer, result.ptr);
  Digits15 out;
  out.negative = text[0] == '-';
  if (out.negative) text.erase(0, 1);
  const size_t e = text.find('e');
  out.digits = text.substr(0, 1) + text.substr(2, e - 2);
  const char* first = text.data() + e + 1;
  if (*first == '+') ++first;
  std::from_chars(first, text.data() + text.size(), out.exponent);
  return out;
}

// Removes trailing zeros (and a bare trailing comma) from a mantissa text.
void TrimFraction(std::string& digits) {
  if (digits.find(',') == std::string::npos) return;
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (!digits.empty() && digits.back() == ',') digits.pop_back();
}

// Exponents carry a sign and at least two digits: E+15, E-05.
std::string Exponent(int exponent) {
  std::string digits = std::to_string(std::abs(exponent));
  if (digits.size() < 2) digits.insert(0, "0");
  return std::string("E") + (exponent < 0 ? "-" : "+") + digits;
}

// Adds one to a text of decimal digits ("099" gives "100", "99" gives "100").
void IncrementDigits(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(0, "1");
}

std::string StripLeadingZeros(std::string digits) {
  const size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? "0" : digits.substr(first);
}

// Rounds a digit text with `scale` decimals to `keep` decimals, halves to even.
void RoundScaleHalfEven(std::string& digits, long& scale, long keep) {
  if (scale <= keep) return;
  const size_t cut = digits.size() - static_cast<size_t>(scale - keep);
  const std::string dropped = digits.substr(cut);
  digits.erase(cut);
  scale = keep;
  const bool above_half =
      dropped[0] > '5' ||
      (dropped[0] == '5' && dropped.find_first_not_of('0', 1) != std::string::npos);
  // Exactly half only when every dropped digit after the 5 is zero.
  const bool half = dropped[0] == '5' && !above_half;
  const bool odd = !digits.empty() && (digits.back() - '0') % 2 == 1;
  if (above_half || (half && odd)) IncrementDigits(digits);
}

}  // namespace

std::string FormatDouble(double value) {
  // The number readers never produce these; they still get a text, so that
  // no value is ever without one.
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
  if (value == 0) return "0";
  const Digits15 d = SignificantDigits(value);
  const std::string& digits = d.digits;
  std::string out;
  // Scientific form only where the plain form would need more than 15 digits
  // before the comma or more than four leading zeros after it.
  if (d.exponent >= 15 || d.exponent < -4) {
    out = digits.substr(0, 1) + "," + digits.substr(1);
    TrimFraction(out);
    out += Exponent(d.exponent);
  } else if (d.exponent >= 0) {
    out = digits.substr(0, d.exponent + 1) + "," + digits.substr(d.exponent + 1);
    TrimFraction(out);
  } else {
    out = "0," + std::string(-d.exponent - 1, '0') + digits;
    TrimFraction(out);
  }
  return d.negative ? "-" + out : out;
}

std::optional<double> TryParseNumber(std::string_view text) {
  const Read read = ReadNumber(text);
  if (read.status != ReadStatus::kOk) return std::nullopt;
  return read.value;
}

double ParseNumber(std::string_view text) {
  const Read read = ReadNumber(text);
  if (read.status == ReadStatus::kOverflow) throw VbError::Overflow();
  if (read.status != ReadStatus::kOk) throw VbError::TypeMismatch();
  return read.value;
}

// Works on the digit text itself, never through a double, so a 29-digit
// amount keeps every digit.
std::optional<std::string> DecimalText(std::string_view text) {
  // The limits of a 96-bit decimal: 29 digits, at most 28 of them decimals.
  constexpr long kMaxScale = 28;
  constexpr size_t kMaxDigits = 29;
  const auto parts = SplitNumber(text);
  if (!parts) return std::nullopt;
  std::string digits = StripLeadingZeros(parts->whole + parts->fraction);
  if (digits == "0") return "0";
  long scale = static_cast<long>(parts->fraction.size()) - parts->exponent;
  const long whole_digits = static_cast<long>(digits.size()) - scale;
  if (whole_digits > static_cast<long>(kMaxDigits)) return std::nullopt;
  if (whole_digits < -kMaxScale) return "0";  // below half of the smallest step
  // Padding with zeros keeps the digits exact where a positive exponent moves
  // the comma right.
  if (scale < 0) {
    digits.append(static_cast<size_t>(-scale), '0');
    scale = 0;
  }
  RoundScaleHalfEven(digits, scale, kMaxScale);
  // More digits than fit: give up decimals (rounding) before ever giving up
  // whole digits.
  if (digits.size() > kMaxDigits) {
    RoundScaleHalfEven(digits, scale, scale - static_cast<long>(digits.size() - kMaxDigits));
  }
  if (static_cast<long>(digits.size()) - scale > static_cast<long>(kMaxDigits) ||
      (static_cast<long>(digits.size()) - scale == static_cast<long>(kMaxDigits) &&
       // 2^96 - 1, the largest magnitude a 96-bit decimal holds.
       digits.substr(0, kMaxDigits) > "79228162514264337593543950335")) {
    return std::nullopt;
  }
  if (static_cast<long>(digits.size()) <= scale) {
    digits.insert(0, static_cast<size_t>(scale) - digits.size() + 1, '0');
  }
  std::string whole = digits.substr(0, digits.size() - static_cast<size_t>(scale));
  std::string fraction = digits.substr(whole.size());
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  whole = StripLeadingZeros(whole);
  if (whole == "0" && fraction.empty()) return "0";
  return (parts->negative ? "-" : "") + whole + (fraction.empty() ? "" : "," + fraction);
}

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return FormatDouble(value);
  if (decimals < 0) decimals = 0;
  if (value == 0) return decimals == 0 ? "0" : "0," + std::string(decimals, '0');
  const Digits15 d = SignificantDigits(value);
  // All digits of the 15-digit value with `fraction_digits` of them decimals.
  std::string digits = d.digits;
  long fraction_digits = 14 - d.exponent;
  if (fraction_digits < 0) {
    digits.append(static_cast<size_t>(-fraction_digits), '0');
    fraction_digits = 0;
  }
  if (fraction_digits > decimals) {
    // Leading zeros so that the first dropped digit exists (tiny values).
    const auto dropped = static_cast<size_t>(fraction_digits - decimals);
    if (digits.size() <= dropped) digits.insert(0, dropped - digits.size() + 1, '0');
    const size_t cut = digits.size() - static_cast<size_t>(fraction_digits - decimals);
    // Fixed texts round half away from zero, unlike the half-even steps of
    // DecimalText: this is what a formatted amount on screen shows.
    const bool up = cut < digits.size() ? digits[cut] >= '5' : false;
    digits.erase(cut);
    if (up) IncrementDigits(digits);
  } else {
    digits.append(static_cast<size_t>(decimals - fraction_digits), '0');
  }
  if (digits.size() <= static_cast<size_t>(decimals)) {
    digits.insert(0, static_cast<size_t>(decimals) - digits.size() + 1, '0');
  }
  const std::string whole = StripLeadingZeros(digits.substr(0, digits.size() - decimals));
  const std::string fraction = digits.substr(digits.size() - decimals);
  // A negative value that rounds to nothing prints without its minus sign.
  const bool zero = whole == "0" && fraction.find_first_not_of('0') == std::string::npos;
  std::string out = (d.negative && !zero ? "-" : "") + whole;
  if (decimals > 0) out += "," + fraction;
  return out;
}

// Reads the longest number at the start of a text and ignores the rest, the
// way a quantity column with a unit behind it ("12.5 ltr") must be read.
// Unlike the Dutch form, the point here is the decimal point, blanks may sit
// between digits and D is an exponent too; no number at all gives 0.
double LeadingNumber(std::string_view text) {
  std::string plain;
  size_t i = 0;
  auto skip_blanks = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  skip_blanks();
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  bool point = false;
  bool any_digit = false;
  for (skip_blanks(); i < text.size(); skip_blanks()) {
    if (IsDigit(text[i])) {
      plain += text[i++];
      any_digit = true;
    } else if (text[i] == '.' && !point) {
      plain += text[i++];
      point = true;
    } else {
      break;
    }
  }
  if (!any_digit) return 0;
  // An exponent letter without digits behind it ("12 E") ends the number
  // without changing it, as a unit's first letter would.
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    std::string exponent = "e";
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
      if (text[j] == '-') exponent += '-';
      ++j;
    }
    bool exponent_digit = false;
    for (; j < text.size() && IsDigit(text[j]); ++j) {
      // Saturate: anything this far out is beyond every range anyway.
      if (exponent.size() < 8) exponent += text[j];
      exponent_digit = true;
    }
    if (exponent_digit) plain += exponent;
  }
  const Read read = FromPlain(plain);
  // Digits that were read always convert; only the range can fail, as 6.
  if (read.status != ReadStatus::kOk) throw VbError::Overflow();
  return read.value;
}

// nearbyint follows the current rounding mode, which the program never
// changes from round-to-nearest-even.
double RoundHalfEven(double value) { return std::nearbyint(value); }

double RoundHalfAway(double value) { return std::round(value); }

double RoundDecimalHalfAway(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  if (decimals < 0) {
    const double step = std::pow(10.0, -decimals);
    return std::round(value / step) * step;
  }
  // Round what the value's 15-digit text shows, so 2.675 (stored as
  // 2.67499999...) reaches 2.68 as its text promises.
  return ParseNumber(FormatFixed(value, decimals));
}

// Integer conversions round half to even (2,5 gives 2), and a NaN fails the
// range test and so overflows instead of becoming an arbitrary number.
int16_t ToInteger16(double value) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw VbError::Overflow();
  return static_cast<int16_t>(rounded);
}

int32_t ToLong32(double value) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw VbError::Overflow();
  return static_cast<int32_t>(rounded);
}

}  // namespace typrosync

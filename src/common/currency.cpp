#include "common/currency.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "common/number_text.h"
#include "common/vb_error.h"

namespace typrosync {

namespace {

// Sums and products are formed in 128 bits, so leaving the 64-bit range is
// seen here as error 6 instead of wrapping silently.
int64_t Checked(__int128 value) {
  if (value > std::numeric_limits<int64_t>::max() || value < std::numeric_limits<int64_t>::min()) {
    throw VbError::Overflow();
  }
  return static_cast<int64_t>(value);
}

// Divides by the scale and rounds the remainder half to even.
__int128 DivideRoundHalfEven(__int128 value, __int128 divisor) {
  __int128 quotient = value / divisor;
  __int128 remainder = value % divisor;
  __int128 twice = 2 * (remainder < 0 ? -remainder : remainder);
  if (twice > divisor || (twice == divisor && (quotient % 2 != 0))) {
    quotient += value < 0 ? -1 : 1;
  }
  return quotient;
}

}  // namespace

Currency Currency::FromDouble(double value) {
  if (!std::isfinite(value)) throw VbError::Overflow();
  // The double is scaled first and then rounded, so a value whose binary form
  // lies just below a half rounds down, as the platform's conversion does.
  const double scaled = RoundHalfEven(value * static_cast<double>(kScale));
  // 2^63 is exactly representable; anything at or beyond it overflows.
  if (scaled >= 9223372036854775808.0 || scaled < -9223372036854775808.0) {
    throw VbError::Overflow();
  }
  return Currency(static_cast<int64_t>(scaled));
}

Currency Currency::FromText(const std::string& text) {
  // Read the decimal digits exactly rather than through a double, so that
  // halves of the fourth decimal round to even as the text shows them.
  const std::optional<std::string> exact = DecimalText(text);
  if (!exact) return FromDouble(ParseNumber(text));  // throws 13 or 6
  const bool negative = exact->starts_with("-");
  const std::string digits = exact->substr(negative ? 1 : 0);
  const size_t comma = digits.find(',');
  const std::string whole = digits.substr(0, comma);
  std::string fraction = comma == std::string::npos ? "" : digits.substr(comma + 1);
  fraction.resize(std::max<size_t>(fraction.size(), 5), '0');
  // Twenty whole digits overflow whatever follows; checking early keeps the
  // 128-bit sum below from wrapping on an absurdly long text.
  if (whole.size() > 19) throw VbError::Overflow();
  __int128 raw = 0;
  for (char c : whole + fraction.substr(0, 4)) raw = raw * 10 + (c - '0');
  // The fifth decimal and everything after it decide the rounding; a bare
  // 5 goes to the even fourth decimal, like every other Currency step.
  const bool above_half =
      fraction[4] > '5' ||
      (fraction[4] == '5' && fraction.find_first_not_of('0', 5) != std::string::npos);
  if (above_half || (fraction[4] == '5' && !above_half && raw % 2 != 0)) ++raw;
  return Currency(Checked(negative ? -raw : raw));
}

double Currency::ToDouble() const { return static_cast<double>(raw_) / kScale; }

// The shortest text that reads back to the same amount: trailing zeros of the
// four decimals go, and the separator is the comma the number reader expects.

std::string Currency::ToText() const {
  const bool negative = raw_ < 0;
  // The most negative amount has no positive counterpart in 64 bits.
  const unsigned __int128 magnitude =
      negative ? static_cast<unsigned __int128>(-static_cast<__int128>(raw_)) : raw_;
  const auto whole = static_cast<uint64_t>(magnitude / kScale);
  auto fraction = static_cast<uint64_t>(magnitude % kScale);
  std::string text = (negative ? "-" : "") + std::to_string(whole);
  if (fraction != 0) {
    std::string digits = std::to_string(fraction);
    digits.insert(0, 4 - digits.size(), '0');
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    text += "," + digits;
  }
  return text;
}

Currency Currency::operator+(Currency other) const {
  return Currency(Checked(static_cast<__int128>(raw_) + other.raw_));
}

Currency Currency::operator-(Currency other) const {
  return Currency(Checked(static_cast<__int128>(raw_) - other.raw_));
}

Currency Currency::operator-() const { return Currency(Checked(-static_cast<__int128>(raw_))); }

// A product carries eight decimals; it is cut back to four with halves to
// even, as the platform's currency multiplication does.
Currency Currency::operator*(Currency other) const {
  const __int128 product = static_cast<__int128>(raw_) * other.raw_;
  return Currency(Checked(DivideRoundHalfEven(product, kScale)));
}

// Division leaves the currency type: the quotient is a double, as in the
// arithmetic the amounts are checked against.
double Currency::operator/(Currency other) const {
  if (other.raw_ == 0) throw VbError::DivisionByZero();
  return static_cast<double>(raw_) / static_cast<double>(other.raw_);
}

}  // namespace typrosync

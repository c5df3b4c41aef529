#pragma once
// Currency: a 64-bit fixed-point amount with four decimals, the platform's
// money type. Everything converted into it is rounded to four decimals with
// halves to even; results outside the 64-bit range are overflow (error 6).

#include <cstdint>
#include <string>

namespace typrosync {

class Currency {
 public:
  static constexpr int64_t kScale = 10000;

  constexpr Currency() = default;
  // From the raw count of ten-thousandths.
  static constexpr Currency FromRaw(int64_t raw) { return Currency(raw); }
  // Rounds to four decimals, halves to even; NaN or out of range throws error 6.
  static Currency FromDouble(double value);
  // Reads a Dutch number text (see ParseNumber) exactly and rounds it to four
  // decimals, halves to even; error 13 when not a number, 6 when out of range.
  static Currency FromText(const std::string& text);

  int64_t raw() const { return raw_; }
  double ToDouble() const;
  // The shortest text: decimal comma, at most four decimals, no trailing zeros.
  std::string ToText() const;

  Currency operator+(Currency other) const;
  Currency operator-(Currency other) const;
  Currency operator-() const;
  // Exact product, rounded to four decimals with halves to even.
  Currency operator*(Currency other) const;
  // Quotient in doubles converted back (error 11 on division by zero).
  double operator/(Currency other) const;

  friend bool operator==(Currency a, Currency b) { return a.raw_ == b.raw_; }
  friend auto operator<=>(Currency a, Currency b) { return a.raw_ <=> b.raw_; }

 private:
  explicit constexpr Currency(int64_t raw) : raw_(raw) {}
  int64_t raw_ = 0;
};

}  // namespace typrosync

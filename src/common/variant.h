#pragma once
// Variant: the loosely typed value read from the database and handed around.
// Conversions follow the platform's rules in the Dutch conventions; the ones
// that can fail throw VbError (13 type mismatch, 94 invalid use of Null).

#include <cstdint>
#include <string>
#include <variant>

#include "common/currency.h"

namespace typrosync {

class Variant {
 public:
  enum class Kind { kEmpty, kNull, kBoolean, kInteger, kDouble, kCurrency, kText };

  Variant() = default;  // Empty
  static Variant Null();
  Variant(bool value) : value_(value) {}                       // NOLINT: implicit on purpose
  Variant(int value) : value_(static_cast<int64_t>(value)) {}  // NOLINT
  Variant(int64_t value) : value_(value) {}                    // NOLINT
  Variant(double value) : value_(value) {}                     // NOLINT
  Variant(Currency value) : value_(value) {}                   // NOLINT
  Variant(std::string value) : value_(std::move(value)) {}     // NOLINT
  Variant(const char* value) : value_(std::string(value)) {}   // NOLINT

  Kind kind() const;
  bool IsNull() const { return kind() == Kind::kNull; }
  bool IsEmptyKind() const { return kind() == Kind::kEmpty; }
  bool IsNumeric() const;
  // An empty value: Empty, Null or the empty string.
  bool IsEmptyValue() const;

  // The value as text, as `value & ""` gives it: Empty and Null give "",
  // numbers their Dutch text, Booleans "Waar"/"Onwaar".
  std::string Text() const;
  // The value as a double: Empty 0, True -1, a text read by ParseNumber.
  // Throws 94 for Null and 13 for a text that is not a number.
  double ToDouble() const;
  // As ToDouble, but Null and unreadable texts give 0 (a Null read as empty).
  double ToDoubleOrZero() const;
  Currency ToCurrency() const;
  // True when the value reads as a number equal to 0 (texts that are not
  // numbers, Null and Empty texts are not 0; Empty itself is).
  bool EqualsZero() const;

  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  struct NullTag {
    friend bool operator==(NullTag, NullTag) { return true; }
  };
  std::variant<std::monostate, NullTag, bool, int64_t, double, Currency, std::string> value_;
};

}  // namespace typrosync

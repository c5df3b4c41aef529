#include "common/variant.h"

#include "common/number_text.h"
#include "common/vb_error.h"

namespace typrosync {

// Null is a kind of its own, not a missing value: it shows as "" like Empty
// but stops any arithmetic, the way a database Null does.
Variant Variant::Null() {
  Variant v;
  v.value_ = NullTag{};
  return v;
}

Variant::Kind Variant::kind() const { return static_cast<Kind>(value_.index()); }

// Booleans count as numbers: True is -1 in every arithmetic the amounts use.
bool Variant::IsNumeric() const {
  const Kind k = kind();
  return k == Kind::kInteger || k == Kind::kDouble || k == Kind::kCurrency || k == Kind::kBoolean;
}

// An unfilled field may come back as Empty, Null or "" depending on the
// engine and the column; all three mean "nothing entered".
bool Variant::IsEmptyValue() const {
  const Kind k = kind();
  return k == Kind::kEmpty || k == Kind::kNull ||
         (k == Kind::kText && std::get<std::string>(value_).empty());
}

std::string Variant::Text() const {
  switch (kind()) {
    case Kind::kEmpty:
    case Kind::kNull:
      return "";
    case Kind::kBoolean:
      // The Dutch words the administration writes for its Yes/No fields.
      return std::get<bool>(value_) ? "Waar" : "Onwaar";
    case Kind::kInteger:
      return std::to_string(std::get<int64_t>(value_));
    case Kind::kDouble:
      // The platform's own number text, so a double written out reads back the same.
      return FormatDouble(std::get<double>(value_));
    case Kind::kCurrency:
      return std::get<Currency>(value_).ToText();
    case Kind::kText:
      return std::get<std::string>(value_);
  }
  return "";
}

double Variant::ToDouble() const {
  switch (kind()) {
    case Kind::kEmpty:
      return 0;
    case Kind::kNull:  // a Null in arithmetic is error 94, never a silent 0
      throw VbError::InvalidUseOfNull();
    case Kind::kBoolean:
      return std::get<bool>(value_) ? -1 : 0;
    case Kind::kInteger:
      return static_cast<double>(std::get<int64_t>(value_));
    case Kind::kDouble:
      return std::get<double>(value_);
    case Kind::kCurrency:
      return std::get<Currency>(value_).ToDouble();
    case Kind::kText:
      // A text that is no number is error 13 here: a wrong field type must stop
      // the run rather than turn an amount into 0.
      return ParseNumber(std::get<std::string>(value_));
  }
  return 0;
}

// For fields that may hold anything: Null and unreadable text read as 0
// instead of ending the run.
double Variant::ToDoubleOrZero() const {
  if (kind() == Kind::kNull) return 0;
  if (kind() == Kind::kText) {
    return TryParseNumber(std::get<std::string>(value_)).value_or(0);
  }
  return ToDouble();
}

Currency Variant::ToCurrency() const {
  if (kind() == Kind::kCurrency) return std::get<Currency>(value_);
  // Whole numbers convert exactly, without the detour through a double
  // that would lose digits above 2^53.
  if (kind() == Kind::kInteger) {
    const int64_t v = std::get<int64_t>(value_);
    if (v > INT64_MAX / Currency::kScale || v < INT64_MIN / Currency::kScale) {
      throw VbError::Overflow();
    }
    return Currency::FromRaw(v * Currency::kScale);
  }
  return Currency::FromDouble(ToDouble());
}

bool Variant::EqualsZero() const {
  switch (kind()) {
    case Kind::kEmpty:
      return true;
    case Kind::kNull:  // Null is not zero: it compares as unknown
      return false;
    case Kind::kText: {  // "0", "0,00" and "-0" are zero; other texts are not
      auto number = TryParseNumber(std::get<std::string>(value_));
      return number && *number == 0;
    }
    default:
      return ToDouble() == 0;
  }
}

}  // namespace typrosync

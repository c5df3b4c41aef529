#include "message/line_quantity.h"

#include <optional>

#include "common/locale_settings.h"
#include "common/number_format.h"
#include "common/number_text.h"

namespace typrosync {
namespace {

// The value cut to four decimals by its number text, read back.
double FourDecimals(const Variant& value, Separators& separators) {
  Variant copy = value.IsNull() ? Variant() : value;
  return TryParseNumber(FormatGetal(separators, copy, 4, false)).value_or(0.0);
}

// A standard quantity of zero (or none) means the count is already in
// units; dividing by it would send an infinite quantity.
double Divisor(const Variant& standard_quantity, double s) {
  if (LeadingNumber(standard_quantity.Text()) == 0 || s == 0) return 1;
  return s;
}

// No weight means no quantity to report: 0, not the bare count. A currency
// weight multiplies in currency steps, so the product rounds as stored.
Currency TimesWeight(const Variant& weight, Currency q) {
  if (weight.IsEmptyValue()) return Currency();
  if (weight.kind() == Variant::Kind::kCurrency) return weight.ToCurrency() * q;
  return Currency::FromDouble(weight.ToDouble() * q.ToDouble());
}

std::optional<double> CategoryNumber(const Variant& weight_category) {
  if (weight_category.IsEmptyValue()) return std::nullopt;
  if (weight_category.IsNumeric()) return weight_category.ToDouble();
  return TryParseNumber(weight_category.Text());
}

// The weight category names the unit the weight is kept in; the factors
// bring it to litres. An unknown category leaves the value as it is.
Currency Scale(Currency w, const Variant& weight_category) {
  std::optional<double> k = CategoryNumber(weight_category);
  if (!k) return w;
  if (*k == 1) return w * Currency::FromRaw(1000 * Currency::kScale);
  if (*k == 2 || *k == 5) return Currency::FromDouble(w.ToDouble() / 1000.0);
  if (*k == 3) return Currency::FromDouble(w.ToDouble() / 1000000.0);
  return w;
}

// The message is XML read by machines: its quantities use a decimal point
// whatever separator the run's number texts use.
std::string WithDecimalPoint(std::string text, const Separators& separators) {
  const std::string& separator = separators.gsDecimaalTeken;
  if (separator.empty() || separator == ".") return text;
  for (size_t pos = text.find(separator); pos != std::string::npos;
       pos = text.find(separator, pos + 1)) {
    text.replace(pos, separator.size(), ".");
  }
  return text;
}

}  // namespace

Currency QuantityInLitres(const LineQuantityFields& line, Separators& separators) {
  // Both operands are cut to four decimals first, as the stored values are
  // shown, so the quotient matches what a person would compute.
  double a = FourDecimals(line.quantity, separators);
  double s = FourDecimals(line.standard_quantity, separators);
  Currency q = Currency::FromDouble(a / Divisor(line.standard_quantity, s));
  return Scale(TimesWeight(line.weight, q), line.weight_category);
}

std::string QuantityText(const LineQuantityFields& line, Separators& separators) {
  Variant w = QuantityInLitres(line, separators);
  // FormatGetal may pin the separator itself, so it is read only afterwards.
  std::string text = FormatGetal(separators, w, 3, false);
  return WithDecimalPoint(std::move(text), separators);
}

}  // namespace typrosync

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
double Divisor(const Variant& standaard_aantal, double s) {
  if (LeadingNumber(standaard_aantal.Text()) == 0 || s == 0) return 1;
  return s;
}

// No weight means no quantity to report: 0, not the bare count. A currency
// weight multiplies in currency steps, so the product rounds as stored.
Currency TimesWeight(const Variant& gewicht, Currency q) {
  if (gewicht.IsEmptyValue()) return Currency();
  if (gewicht.kind() == Variant::Kind::kCurrency) return gewicht.ToCurrency() * q;
  return Currency::FromDouble(gewicht.ToDouble() * q.ToDouble());
}

std::optional<double> CategoryNumber(const Variant& categorie) {
  if (categorie.IsEmptyValue()) return std::nullopt;
  if (categorie.IsNumeric()) return categorie.ToDouble();
  return TryParseNumber(categorie.Text());
}

// The weight category names the unit the weight is kept in; the factors
// bring it to litres. An unknown category leaves the value as it is.
Currency Scale(Currency w, const Variant& categorie) {
  std::optional<double> k = CategoryNumber(categorie);
  if (!k) return w;
  if (*k == 1) return w * Currency::FromRaw(1000 * Currency::kScale);
  if (*k == 2 || *k == 5) return Currency::FromDouble(w.ToDouble() / 1000.0);
  if (*k == 3) return Currency::FromDouble(w.ToDouble() / 1000000.0);
  return w;
}

// The message is XML read by machines: its quantities use a decimal point
// whatever separator the run's number texts use.
std::string WithDecimalPoint(std::string text, const Separators& separators) {
  const std::string& teken = separators.gsDecimaalTeken;
  if (teken.empty() || teken == ".") return text;
  for (size_t pos = text.find(teken); pos != std::string::npos; pos = text.find(teken, pos + 1)) {
    text.replace(pos, teken.size(), ".");
  }
  return text;
}

}  // namespace

Currency QuantityInLitres(const RegelHoeveelheid& regel, Separators& separators) {
  // Both operands are cut to four decimals first, as the stored values are
  // shown, so the quotient matches what a person would compute.
  double a = FourDecimals(regel.aantal, separators);
  double s = FourDecimals(regel.standaard_aantal, separators);
  Currency q = Currency::FromDouble(a / Divisor(regel.standaard_aantal, s));
  return Scale(TimesWeight(regel.gewicht, q), regel.categorie);
}

std::string QuantityText(const RegelHoeveelheid& regel, Separators& separators) {
  Variant w = QuantityInLitres(regel, separators);
  // FormatGetal may pin the separator itself, so it is read only afterwards.
  std::string text = FormatGetal(separators, w, 3, false);
  return WithDecimalPoint(std::move(text), separators);
}

}  // namespace typrosync

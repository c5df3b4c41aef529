#include "orders/line_amounts.h"

#include "common/file_helpers.h"
#include "common/number_format.h"
#include "common/number_text.h"

namespace typrosync {
namespace {

// FormatGetal changes the value it is given; the order line's field must not.
std::string FormatNumberOf(const Variant& value, int16_t decimals, Separators& separators) {
  Variant copy = value;
  return FormatGetal(separators, copy, decimals, false);
}

std::string AmountOf(const Variant& value, Separators& separators) {
  Variant copy = value;
  return NormaliseerBedrag(separators, copy);
}

// The discount as a number: NormaliseerGetal with 0 (that is 2) decimals,
// large values not allowed.
double DiscountOf(const Variant& value, Separators& separators) {
  Variant copy = value;
  int16_t decimals = 0;
  return ParseNumber(NormaliseerGetal(separators, copy, decimals, false));
}

// FactuurGewicht replaces Aantal as the quantity basis when it is set.
const Variant& Hoeveelheidsbasis(const LineAmountInput& input) {
  const Variant& gewicht = input.factuur_gewicht;
  if (gewicht.IsNull() || gewicht.EqualsZero()) return input.aantal;
  return gewicht;
}

}  // namespace

LineAmounts ComputeLineAmounts(const LineAmountInput& input, Separators& separators) {
  LineAmounts result;
  const int16_t d = AantalDecimalen(input.prijs_per.Text(), separators);
  result.aantal = FormatNumberOf(input.aantal, d, separators);
  result.verkoopprijs = AmountOf(input.verkoop_prijs, separators);

  const Currency p = Currency::FromText(result.verkoopprijs);
  result.prijs = p;
  const std::string s = FormatNumberOf(input.prijs_per, d, separators);
  // A price per below 1 would divide by a fraction; the administration
  // counts it one lower instead (0 becomes -1).
  const double z = ParseNumber(FormatNumberOf(Variant(s), 0, separators)) == 0 ? 1 : 0;
  const double divisor = ParseNumber(s) - z;
  const double qd = ParseNumber(FormatNumberOf(Hoeveelheidsbasis(input), d, separators));

  const Currency u = Currency::FromDouble(qd / divisor);
  const Currency b = Currency::FromText(AmountOf(Variant(u * p), separators));
  const double k = DiscountOf(input.korting_percentage, separators);
  Currency n = b;
  if (k != 0) {
    n = Currency::FromText(
        AmountOf(Variant(Currency::FromDouble(b.ToDouble() * (100 - k) / 100)), separators));
  }
  result.eenheden = u;
  result.bedrag = b;
  result.netto = n;
  const double eenheden = qd / divisor;
  result.berekende_prijs =
      eenheden == 0 ? AmountOf(Variant(0.0), separators)
                    : AmountOf(Variant(n.ToDouble() / eenheden), separators);
  return result;
}

}  // namespace typrosync

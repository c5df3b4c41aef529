#include "orders/line_amounts.h"

#include "common/file_helpers.h"
#include "common/number_format.h"
#include "common/number_text.h"

namespace typrosync {
namespace {

// FormatGetal changes the value it is given; the order line's field must not.
std::string FormatGetalVan(const Variant& value, int16_t decimals) {
  Variant copy = value;
  return FormatGetal(copy, decimals, false);
}

std::string BedragVan(const Variant& value) {
  Variant copy = value;
  return NormaliseerBedrag(copy);
}

// The discount as a number: NormaliseerGetal with 0 (that is 2) decimals,
// large values not allowed.
double KortingVan(const Variant& value) {
  Variant copy = value;
  int16_t decimals = 0;
  return ParseNumber(NormaliseerGetal(copy, decimals, false));
}

// FactuurGewicht replaces Aantal as the quantity basis when it is set.
const Variant& Hoeveelheidsbasis(const LineAmountInput& input) {
  const Variant& gewicht = input.factuur_gewicht;
  if (gewicht.IsNull() || gewicht.EqualsZero()) return input.aantal;
  return gewicht;
}

}  // namespace

LineAmounts BerekenBedragen(const LineAmountInput& input) {
  LineAmounts result;
  const int16_t d = AantalDecimalen(input.prijs_per.Text());
  result.aantal = FormatGetalVan(input.aantal, d);
  result.verkoopprijs = BedragVan(input.verkoop_prijs);

  const Currency p = Currency::FromText(result.verkoopprijs);
  result.prijs = p;
  const std::string s = FormatGetalVan(input.prijs_per, d);
  // A price per below 1 would divide by a fraction; the administration
  // counts it one lower instead (0 becomes -1).
  const double z = ParseNumber(FormatGetalVan(Variant(s), 0)) == 0 ? 1 : 0;
  const double divisor = ParseNumber(s) - z;
  const double qd = ParseNumber(FormatGetalVan(Hoeveelheidsbasis(input), d));

  const Currency u = Currency::FromDouble(qd / divisor);
  const Currency b = Currency::FromText(BedragVan(Variant(u * p)));
  const double k = KortingVan(input.korting_percentage);
  Currency n = b;
  if (k != 0) {
    n = Currency::FromText(
        BedragVan(Variant(Currency::FromDouble(b.ToDouble() * (100 - k) / 100))));
  }
  result.eenheden = u;
  result.bedrag = b;
  result.netto = n;
  const double eenheden = qd / divisor;
  result.berekende_prijs =
      eenheden == 0 ? BedragVan(Variant(0.0)) : BedragVan(Variant(n.ToDouble() / eenheden));
  return result;
}

}  // namespace typrosync

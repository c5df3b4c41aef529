#include "orders/line_amounts.h"

#include <cmath>
#include <optional>

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

// Quantities, prices and weights of any real order stay far below this; it
// keeps U x P (at most 1e14) inside the Currency range (about 9.2e14).
constexpr double kPlainLimit = 1e7;
constexpr double kSmallestPlain = 1e-4;
constexpr size_t kMostDecimals = 3;

std::optional<double> PlainNumber(const Variant& value) {
  using Kind = Variant::Kind;
  if (value.kind() != Kind::kInteger && value.kind() != Kind::kDouble &&
      value.kind() != Kind::kCurrency) {
    return std::nullopt;
  }
  const double number = value.ToDouble();
  if (!std::isfinite(number) || std::fabs(number) > kPlainLimit) return std::nullopt;
  // Below 1E-4 a double's text takes the exponent form, which the amount
  // text mangles ("-5E-05" becomes "-5E.-05,00") and then cannot read back.
  if (number != 0 && std::fabs(number) < kSmallestPlain) return std::nullopt;
  return number;
}

}  // namespace

bool AmountsCannotFail(const LineAmountInput& input) {
  const auto aantal = PlainNumber(input.aantal);
  const auto prijs_per = PlainNumber(input.prijs_per);
  const auto prijs = PlainNumber(input.verkoop_prijs);
  const auto korting = PlainNumber(input.korting_percentage);
  const bool gewicht_plain =
      input.factuur_gewicht.IsNull() || PlainNumber(input.factuur_gewicht).has_value();
  if (!aantal || !prijs_per || !prijs || !korting || !gewicht_plain) return false;
  // A price per between 0 and 1 makes the divisor D = PrijsPer - 1 as small
  // as it likes, and U = Q / D unbounded; 0 gives D = -1 and from 1 up D is
  // at least 1, so |U| <= |Q|. The discount text is "n/a" above 1000;
  // within 0..100 the net amount N stays within B.
  const bool divisor_at_least_one = *prijs_per == 0 || *prijs_per >= 1;
  // PrijsPer's decimals are the decimals of every quantity text; past a few
  // the texts outgrow their width and are cut.
  const std::string per = input.prijs_per.Text();
  const size_t comma = per.find(',');
  const bool few_decimals = comma == std::string::npos || per.size() - comma - 1 <= kMostDecimals;
  return divisor_at_least_one && few_decimals && *korting >= 0 && *korting <= 100;
}

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
  result.berekende_prijs = eenheden == 0 ? AmountOf(Variant(0.0), separators)
                                         : AmountOf(Variant(n.ToDouble() / eenheden), separators);
  return result;
}

}  // namespace typrosync

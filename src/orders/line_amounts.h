#pragma once
// The quantity and price texts of one delivery line: the shown quantity, the
// sales price and the computed net price per price unit. The arithmetic mixes
// doubles and Currency on purpose: each conversion rounds where the
// administration's own screens round, so the texts match them to the cent.

#include <string>

#include "common/currency.h"
#include "common/locale_settings.h"
#include "common/variant.h"

namespace typrosync {

// The order line's fields the amounts are made from, as read.
struct LineAmountInput {
  Variant aantal;              // Aantal
  Variant prijs_per;           // PrijsPer
  Variant verkoop_prijs;       // VerkoopPrijs
  Variant factuur_gewicht;     // FactuurGewicht
  Variant korting_percentage;  // KortingPercentage
};

struct LineAmounts {
  std::string aantal;           // column "aantal"
  std::string verkoopprijs;     // column "verkoopprijs"
  std::string berekende_prijs;  // column "berekende prijs"
  Currency prijs;               // P: the sales price as Currency
  Currency eenheden;            // U: the quantity in price units
  Currency bedrag;              // B: U times P, rounded to cents
  Currency netto;               // N: B after the discount
};

// Computes the three texts. Throws VbError 13 when an intermediate text does
// not read as a number (a discount above 1000 gives "n/a") and 6 when an
// amount leaves the Currency range. A quantity basis of 0 gives the zero
// amount as net price instead of a division by zero.
LineAmounts ComputeLineAmounts(const LineAmountInput& input, Separators& separators);

// True when ComputeLineAmounts cannot throw for `input` under the Dutch
// separators (those of a default Separators): every value a plain number of
// a bounded size (see the .cpp). False says nothing; the texts must then be
// computed to find out. Other separators write number texts that the
// conversions, which read the Dutch form, may refuse.
bool AmountsCannotFail(const LineAmountInput& input);

}  // namespace typrosync

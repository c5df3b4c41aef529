#pragma once
// The delivered quantity of one message line, in litres, as the message
// writes it: three decimals with a decimal point ("50.000").
//
// q = Aantal / StandaardAantal (both first cut to four decimals through their
// number text), w = ArtikelGewicht x q, then scaled by GewichtCategorie:
// 1 x1000, 2 and 5 /1000, 3 /1,000,000, anything else unchanged. Every step
// lands on a four-decimal currency amount, halves to even.
//
// A StandaardAantal that reads as 0 (also 0,5, Null or an empty field) gives
// divisor 1: the quantity in the article's own units. A Null or empty field
// reads as empty; overflow still throws error 6.

#include <string>

#include "common/currency.h"
#include "common/locale_settings.h"
#include "common/variant.h"

namespace typrosync {

struct LineQuantityFields {
  Variant quantity;           // Ordergegevens.Aantal
  Variant standard_quantity;  // Artikelen.StandaardAantal
  Variant weight;             // Ordergegevens.ArtikelGewicht
  Variant weight_category;    // Artikelen.GewichtCategorie
};

// w before the text is made, for callers that check the arithmetic.
Currency QuantityInLitres(const LineQuantityFields& line, Separators& separators);

// The quantity text of the message line.
// The decimal separator is the run's gsDecimaalTeken as it stands.
std::string QuantityText(const LineQuantityFields& line, Separators& separators);

}  // namespace typrosync

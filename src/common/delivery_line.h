#pragma once
// A delivery line: one row of the list of delivery lines of the customer
// being handled. Filled by the order reading, read by marking and by the
// message builders, shown by the window (run/delivery_columns.h).

#include <array>
#include <string>
#include <vector>

namespace typrosync {

inline constexpr int kDeliveryColumnCount = 14;

// Column numbers, counted from 1 as the rows are described.
enum DeliveryColumnNumber : int {
  kColRelNr = 1,
  kColNaam,
  kColWoonplaats,
  kColMagazijnbon,
  kColOrderdatum,
  kColLeverdatum,
  kColArtNr,
  kColOmschrijving,
  kColAantal,
  kColVerkoopprijs,
  kColBerekendePrijs,
  kColToelatingsnr,
  kColOrderNr,
  kColRelatiegroep,
};

struct DeliveryLine {
  std::array<std::string, kDeliveryColumnCount> columns;
  std::string tag;  // the order line's RelnrOrderdatumRegNrIndex
  bool checked = true;

  std::string& column(int number) { return columns.at(static_cast<size_t>(number - 1)); }
  const std::string& column(int number) const {
    return columns.at(static_cast<size_t>(number - 1));
  }
};

using DeliveryLines = std::vector<DeliveryLine>;

}  // namespace typrosync

#pragma once
// A delivery line: one row of the list of delivery lines of the customer
// being handled. Filled by the order reading, read by marking and by the
// message builders, shown by the window.

#include <array>
#include <string>
#include <vector>

namespace typrosync {

enum class Alignment { kLeft, kRight };

struct DeliveryColumn {
  const char* title;
  int width_twips;  // 0: hidden
  Alignment alignment;
};

inline constexpr int kDeliveryColumnCount = 14;

// The columns in display order; column numbers in the code count from 1.
inline constexpr std::array<DeliveryColumn, kDeliveryColumnCount> kDeliveryColumns = {{
    {"relnr.", 1200, Alignment::kLeft},
    {"naam", 2750, Alignment::kLeft},
    {"woonplaats", 2000, Alignment::kLeft},
    {"magazijnbon", 1250, Alignment::kRight},
    {"orderdatum", 1250, Alignment::kRight},
    {"leverdatum", 1250, Alignment::kRight},
    {"artnr", 1100, Alignment::kRight},
    {"omschrijving", 3000, Alignment::kLeft},
    {"aantal", 1185, Alignment::kRight},
    {"verkoopprijs", 1350, Alignment::kRight},
    {"berekende prijs", 1350, Alignment::kRight},
    {"toelatingsnr.", 1400, Alignment::kRight},
    {"ordernr", 0, Alignment::kRight},
    {"relatiegroep", 2500, Alignment::kRight},
}};

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

#pragma once
// How the window and the console show the delivery lines: each column's
// title, width in twips and alignment.

#include <array>

#include "common/delivery_line.h"

namespace typrosync {

enum class Alignment { kLeft, kRight };

struct DeliveryColumn {
  const char* title;
  int width_twips;  // 0: hidden
  Alignment alignment;
};

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

}  // namespace typrosync

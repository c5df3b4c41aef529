#pragma once
// The per-row step of the message builders: one delivery line becomes one
// SegmentEigenschapRegel, inside the SegmentLevering of its voucher and
// order, which the step opens when the line is the first of its voucher key.
//
//   <SegmentLevering A702197UniekeKeyBon="..." ... >          one per voucher key
//     <SegmentEigenschapRegel A702165LeveringsbonRegelnr="3" ... />
//   </SegmentLevering>
//
// The order line is found again by the row's tag and article number, and
// its article by that number; a row without either gives no line at all.

#include <cstdint>
#include <string>

#include "common/delivery_line.h"
#include "common/locale_settings.h"
#include "common/string_builder.h"
#include "common/work_list.h"
#include "message/message_tables.h"

namespace typrosync {

// What one build carries from row to row.
struct MessageAssembly {
  cStringBuilder& sbBericht;
  WorkList& lstUniek;     // voucher keys whose segment has been opened
  Separators& separators;  // the run's, for the quantity text
  bool bGBMOpen = false;  // "<GBM>" written
  int32_t iRegels = 0;    // lines in the open SegmentLevering
};

// Runs the step for `row`, whose voucher-and-order pair has voucher text
// `voucher`. Opens "<GBM>" first when it is not open yet. Moves
// Ordergegevens and Artikelen; reads the customer RelatieGegevens is on.
// Errors of the database or overflow (error 6) propagate.
void AppendRow(const DeliveryLine& row, const std::string& voucher, MessageTables& tables,
               MessageAssembly& assembly);

}  // namespace typrosync

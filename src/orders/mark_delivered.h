#pragma once
// Stamping delivered orders in OrderGegevensMeta, so that their lines are
// not reported again. The only write to the administration.

#include <cstdint>
#include <string>

#include "orders/order_context.h"

namespace typrosync {

inline constexpr int16_t kLeveringAgroVision = 1;  // LeveringNaarAgroVision
inline constexpr int16_t kLeveringCropR = 2;       // LeveringNaarDacom

// Writes `stamp` into the mark of `kind` of the order of every row of
// lvwLeveringen (checked or not). Rows whose order line or meta record is
// missing are passed over; another kind changes nothing. A failing edit or
// update (record locked) throws, leaving earlier rows stamped.
void MarkeerGeleverd(OrderContext& ctx, const std::string& stamp, int16_t kind);

}  // namespace typrosync

#pragma once
// VerwerkRelatie: the delivery lines of one customer. Tests each of the
// customer's order lines (year, voucher, delivery marks, customer, article),
// shows the pending ones as rows of lvwLeveringen, routes the customer by its
// relation groups, and per destination logs a block, calls the builder and
// has the orders stamped.

#include <string>

#include "orders/order_context.h"

namespace typrosync {

// Order lines dated before this year are never reported.
inline constexpr int kEersteJaar = 2018;

// Only lines of kEersteJaar and later; a year that does not read as a number
// makes the line not pending rather than ending the run.
bool IsRecentEnough(const Variant& order_datum);

// Handles customer `sRelNr`. Database, arithmetic and builder errors pass
// through; orders stamped before such an error stay stamped.
void VerwerkRelatie(OrderContext& ctx, const std::string& sRelNr);

}  // namespace typrosync

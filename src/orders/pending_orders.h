#pragma once
// Reading the pending orders: the articles that carry an admission number,
// the candidate customers (those with order lines that have a warehouse
// voucher), and handing each customer to VerwerkRelatie.

#include "orders/order_context.h"

namespace typrosync {

// Rebuilds lstArtNr and lstArtNrToel (parallel) from Artikelen, skipping
// articles without an admission number.
void LeesToelatingsnummers(OrderContext& ctx);

// Rebuilds lstRelNr from Ordergegevens in order of first appearance, then
// calls VerwerkRelatie per customer. Status and progress are shown every 51
// records or customers. Database and builder errors pass through. When a stop
// is requested no further customer is started: error 18 with the reason.
void LeesOrders(OrderContext& ctx);

// Every this many records or customers the window is refreshed.
inline constexpr int kVerversInterval = 50;

}  // namespace typrosync

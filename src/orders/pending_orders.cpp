#include "orders/pending_orders.h"

#include "common/vb_error.h"
#include "orders/delivery_lines.h"
#include "orders/work_list_lookup.h"

namespace typrosync {
namespace {

// The error number of a run interrupted by its user.
constexpr long kUserInterruption = 18;

// The safe point of a run: between two customers, after the previous one's
// messages have their replies and its orders their stamps.
void StopIfRequested(const OrderContext& ctx) {
  if (ctx.stop != nullptr && ctx.stop->StopRequested()) {
    throw VbError(kUserInterruption, ctx.stop->Reason());
  }
}

void ShowStatus(OrdersView& view, const std::string& status) {
  view.SetStatus(status);
  view.ProcessPendingEvents();
}

// Collects each RelNr of the lines with a warehouse voucher, first appearance first.
void CollectCustomers(OrderContext& ctx) {
  TableRecordset& orders = ctx.admin.Table("Ordergegevens");
  OrderLineFields& line = ctx.Fields().lines;
  int rows_since_refresh = 0;
  ctx.scanned = ScannedLines::Start(ctx);
  orders.MoveFirst();
  while (!orders.IsEOF()) {
    if (ctx.scanned) ctx.scanned->Keep(ctx, orders);
    // Only lines with a warehouse voucher have left the warehouse; the rest
    // are orders not yet delivered.
    if (!line.voucher.Value().IsEmptyValue()) {
      std::string relnr = line.customer.Text();
      if (!IsInRelNr(ctx.state, relnr)) ctx.state.lstRelNr.Add(std::move(relnr));
    }
    // The screen is refreshed every so many rows only: a refresh per row
    // would cost more than reading it.
    if (++rows_since_refresh > kVerversInterval) {
      ctx.view.SetStatus("Lezen van orders ( " + line.order.Text() + " )");
      ctx.view.SetProgress(orders.PercentPosition());
      rows_since_refresh = 0;
      ctx.view.ProcessPendingEvents();
    }
    orders.MoveNext();
  }
  if (ctx.scanned && !ctx.scanned->Finish(orders)) ctx.scanned.reset();
}

}  // namespace

void LeesToelatingsnummers(OrderContext& ctx) {
  ctx.state.lstArtNr.Clear();
  ctx.state.lstArtNrToel.Clear();
  TableRecordset& artikelen = ctx.admin.Table("Artikelen");
  RecordField admission(artikelen, "ToelatingsNummer");
  RecordField article(artikelen, "Artikelnummer");
  artikelen.MoveFirst();
  while (!artikelen.IsEOF()) {
    // Articles without an authorisation number are no crop-protection
    // products and are never reported.
    const Variant toelating = admission.Value();
    if (!toelating.IsEmptyValue()) {
      ctx.state.lstArtNr.Add(article.Text());
      ctx.state.lstArtNrToel.Add(toelating.Text());
    }
    artikelen.MoveNext();
  }
}

void LeesOrders(OrderContext& ctx) {
  ShowStatus(ctx.view, "Lezen van orders");
  ctx.state.lstRelNr.Clear();
  CollectCustomers(ctx);

  // All customers are known before the first is sent, so the progress bar
  // can count customers instead of rows.
  ShowStatus(ctx.view, "Versturen van orders");
  int rows_since_refresh = 0;
  const size_t aantal = ctx.state.lstRelNr.size();
  for (size_t i = 0; i < aantal; ++i) {
    const std::string relnr = ctx.state.lstRelNr.at(static_cast<long>(i));
    if (++rows_since_refresh > kVerversInterval) {
      ctx.view.SetStatus("Versturen van orders ( " + relnr + " )");
      ctx.view.SetProgress(static_cast<double>(i) / static_cast<double>(aantal) * 100);
      rows_since_refresh = 0;
      ctx.view.ProcessPendingEvents();
    }
    StopIfRequested(ctx);
    VerwerkRelatie(ctx, relnr);
  }
}

}  // namespace typrosync

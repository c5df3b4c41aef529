#include "orders/mark_delivered.h"

#include <set>

namespace typrosync {
namespace {

// The Crop-R stamp goes into the field named after Dacom, whose customers
// Crop-R serves: the administration's own screens read it under that name.
const char* MarkField(int16_t kind) {
  if (kind == kLeveringAgroVision) return "LeveringNaarAgroVision";
  if (kind == kLeveringCropR) return "LeveringNaarDacom";
  return nullptr;
}

void StampMeta(TableRecordset& meta, const std::string& stamp, int16_t kind) {
  meta.Edit();
  if (const char* field = MarkField(kind)) meta.SetField(field, Variant(stamp));
  meta.Update();
  // Back on the written row, so a following Seek starts from a known place.
  meta.GoTo(meta.LastModified());
}

}  // namespace

void MarkeerGeleverd(OrderContext& ctx, const std::string& stamp, int16_t kind) {
  TableRecordset& orders = ctx.admin.Table("Ordergegevens");
  TableRecordset& meta = ctx.admin.Table("OrderGegevensMeta");
  // Each row seeks afresh, so choosing the indexes once serves every row.
  orders.SetIndex("RelnrOrderdatumRegNrIndex");
  meta.SetIndex("PrimaryKey");
  RecordField& order = ctx.Fields().lines.order;
  const size_t count = ctx.state.lvwLeveringen.size();
  std::set<std::string> stamped_orders;  // lines of one order stamp it once in the count
  for (size_t i = 0; i < count; ++i) {
    const std::string& tag = ctx.state.lvwLeveringen[i].tag;
    // A line that disappeared since it was read (deleted in the
    // administration meanwhile) is skipped, not an error: nothing to stamp.
    orders.Seek(Variant(tag));
    if (orders.NoMatch()) continue;
    const std::string order_nr = order.Text();
    meta.Seek(Variant(order_nr));
    if (meta.NoMatch()) continue;
    StampMeta(meta, stamp, kind);
    // What the scan kept stays as a fresh read would find it.
    if (ctx.scanned && MarkField(kind) != nullptr &&
        !ctx.scanned->Stamped(order.Value(), Variant(stamp))) {
      ctx.scanned.reset();
    }
    if (stamped_orders.insert(order_nr).second) ++ctx.state.summary.orders_stamped;
  }
}

}  // namespace typrosync

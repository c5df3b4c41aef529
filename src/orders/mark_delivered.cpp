#include "orders/mark_delivered.h"

#include <set>

namespace typrosync {
namespace {

const char* MarkField(int16_t kind) {
  if (kind == kLeveringAgroVision) return "LeveringNaarAgroVision";
  if (kind == kLeveringCropR) return "LeveringNaarDacom";
  return nullptr;
}

void StampMeta(TableRecordset& meta, const std::string& stamp, int16_t kind) {
  meta.Edit();
  if (const char* veld = MarkField(kind)) meta.SetField(veld, Variant(stamp));
  meta.Update();
  meta.GoTo(meta.LastModified());
}

}  // namespace

void MarkeerGeleverd(OrderContext& ctx, const std::string& stamp, int16_t kind) {
  TableRecordset& orders = ctx.admin.Table("Ordergegevens");
  TableRecordset& meta = ctx.admin.Table("OrderGegevensMeta");
  // Each row seeks afresh, so choosing the indexes once serves every row.
  orders.SetIndex("RelnrOrderdatumRegNrIndex");
  meta.SetIndex("PrimaryKey");
  const size_t aantal = ctx.state.lvwLeveringen.size();
  std::set<std::string> gestempeld;  // lines of one order stamp it once in the count
  for (size_t i = 0; i < aantal; ++i) {
    const std::string& tag = ctx.state.lvwLeveringen[i].tag;
    orders.Seek(Variant(tag));
    if (orders.NoMatch()) continue;
    const std::string order_nr = orders.Field("OrderNr").Text();
    meta.Seek(Variant(order_nr));
    if (meta.NoMatch()) continue;
    StampMeta(meta, stamp, kind);
    if (gestempeld.insert(order_nr).second) ++ctx.state.summary.orders_stamped;
  }
}

}  // namespace typrosync

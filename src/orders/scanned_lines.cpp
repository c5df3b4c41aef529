#include "orders/scanned_lines.h"

#include <charconv>

#include "database/name_index.h"
#include "orders/delivery_lines.h"
#include "orders/line_amounts.h"
#include "orders/order_context.h"
#include "orders/work_list_lookup.h"

namespace typrosync {
namespace {

using Kind = Variant::Kind;

// A search by text finds a kept number only where the field converts the
// searched text to a number: true when searching for `value`'s text lands
// on a record whose field equals it.
bool SearchFindsNumber(TableRecordset& table, const char* index, const Variant& value) {
  table.SetIndex(index);
  table.Seek(Variant(value.Text()));
  return !table.NoMatch();
}

// The position of a field the row reads, or -1 when the table lacks it.
int PositionOrNone(const TableRecordset& table, const char* name) {
  try {
    return table.FieldIndex(name);
  } catch (const std::exception&) {
    return -1;
  }
}

}  // namespace

std::optional<long long> WholeNumber(const Variant& value) {
  if (value.kind() != Kind::kInteger) return std::nullopt;
  const std::string text = value.Text();
  long long number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

std::optional<ScannedLines> ScannedLines::Start(OrderContext& ctx) {
  const std::optional<long long> version = ctx.admin.dbAdministratie().OtherWritersVersion();
  if (!version) return std::nullopt;
  TableRecordset& orders = ctx.admin.Table("Ordergegevens");
  // Equal RelNr keys follow each other in insertion order, so a scan in
  // that order meets each customer's lines in the order of its walk.
  if (!orders.Index().empty()) return std::nullopt;
  // Anything unexpected leaves the reading to the ordinary walk, which
  // reports it where it always did.
  try {
    const Positions at{
        orders.FieldIndex("RelNr"),
        orders.FieldIndex("OrderNr"),
        orders.FieldIndex("OrderDatum"),
        orders.FieldIndex("MagazijnBonNr"),
        orders.FieldIndex("ArtNr"),
        {PositionOrNone(orders, "Aantal"), PositionOrNone(orders, "PrijsPer"),
         PositionOrNone(orders, "VerkoopPrijs"), PositionOrNone(orders, "FactuurGewicht"),
         PositionOrNone(orders, "KortingPercentage")}};
    ScannedLines scanned(*version, at);
    if (!scanned.ReadMarks(ctx.admin.Table("OrderGegevensMeta"))) return std::nullopt;
    return scanned;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// Every order's first meta record in the order of its key, as a search
// finds it. Null keys are never found by a search; keys of any other kind
// than a whole number might be found by another text, so they end keeping.
bool ScannedLines::ReadMarks(TableRecordset& meta) {
  const int order = meta.FieldIndex("OrderNr");
  const int agrovision = meta.FieldIndex("LeveringNaarAgroVision");
  const int dacom = meta.FieldIndex("LeveringNaarDacom");
  meta.SetIndex("PrimaryKey");
  std::optional<Variant> probe;
  for (meta.MoveFirst(); !meta.IsEOF(); meta.MoveNext()) {
    const Variant key = meta.FieldAt(order);
    if (key.IsNull()) continue;
    const std::optional<long long> number = WholeNumber(key);
    if (!number) return false;
    if (!probe) probe = key;
    // The same test as the search of each line: a mark for either platform.
    delivered_.try_emplace(
        *number, !meta.FieldAt(agrovision).IsEmptyValue() || !meta.FieldAt(dacom).IsEmptyValue());
  }
  return !probe || SearchFindsNumber(meta, "PrimaryKey", *probe);
}

void ScannedLines::Keep(OrderContext& ctx, TableRecordset& orders) {
  const Variant relnr = orders.FieldAt(at_.customer);
  const std::string text = relnr.Text();
  auto [it, added] = customers_.try_emplace(UpperAscii(text));
  Customer& customer = it->second;
  if (added) {
    customer.text = text;
    customer.kind = relnr.kind();
    if (!probe_ && relnr.kind() == Kind::kInteger) probe_ = relnr;
  }
  if (!customer.usable) return;
  // The walk of the RelNr index ignores case but stops at the first line
  // whose RelNr differs from the customer's text; it can be skipped only for
  // a customer whose lines all hold the same text, of one kind it finds.
  if (text != customer.text || relnr.kind() != customer.kind ||
      (relnr.kind() != Kind::kInteger && relnr.kind() != Kind::kText)) {
    customer.usable = false;
    customer.lines = {};
    return;
  }
  if (orders.FieldAt(at_.voucher).IsEmptyValue()) return;
  if (!IsRecentEnough(orders.FieldAt(at_.order_date))) return;
  if (!IsInArtNr(ctx.state, orders.FieldAt(at_.article).Text())) return;
  const std::optional<long long> order = WholeNumber(orders.FieldAt(at_.order));
  if (!order) {
    customer.usable = false;
    customer.lines = {};
    return;
  }
  // The run only ever adds marks; a line delivered now stays delivered.
  if (Delivered(*order)) return;
  customer.lines.push_back({orders.CurrentBookmark(), *order, Plain(orders)});
}

bool ScannedLines::Plain(TableRecordset& orders) const {
  for (const int position : at_.amounts) {
    if (position < 0) return false;
  }
  return AmountsCannotFail({orders.FieldAt(at_.amounts[0]), orders.FieldAt(at_.amounts[1]),
                            orders.FieldAt(at_.amounts[2]), orders.FieldAt(at_.amounts[3]),
                            orders.FieldAt(at_.amounts[4])});
}

bool ScannedLines::Finish(TableRecordset& orders) {
  try {
    return !probe_ || SearchFindsNumber(orders, "RelNr", *probe_);
  } catch (const std::exception&) {
    return false;
  }
}

const std::vector<ScannedLines::Line>* ScannedLines::LinesOf(const std::string& relnr) const {
  const auto it = customers_.find(UpperAscii(relnr));
  if (it == customers_.end() || !it->second.usable || it->second.text != relnr) return nullptr;
  return &it->second.lines;
}

bool ScannedLines::Delivered(long long order) const {
  const auto it = delivered_.find(order);
  return it != delivered_.end() && it->second;
}

bool ScannedLines::Stamped(const Variant& order, const Variant& mark) {
  const std::optional<long long> number = WholeNumber(order);
  if (!number) return false;
  const auto it = delivered_.find(*number);
  if (it == delivered_.end()) return false;
  it->second = it->second || !mark.IsEmptyValue();
  return true;
}

}  // namespace typrosync

#include "orders/delivery_lines.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "common/date_format.h"
#include "common/date_functions.h"
#include "common/number_format.h"
#include "common/number_text.h"
#include "common/utf8_text.h"
#include "database/lookups.h"
#include "orders/line_amounts.h"
#include "orders/mark_delivered.h"
#include "orders/routing.h"
#include "orders/work_list_lookup.h"

namespace typrosync {
namespace {

// The customer record's fields the rows show, read at the customer's first
// pending line: the record and its groups are the same for every line.
struct Customer {
  std::string relnr;
  std::string naam;
  std::string woonplaats;
  std::string relation_groups;
};

// Group descriptions are cached per selection for the whole run: most
// customers share a handful of selections.
const std::string& CustomerGroups(OrderContext& ctx, const std::string& selectie) {
  auto [it, nieuw] = ctx.relation_groups.try_emplace(selectie);
  if (nieuw) {
    it->second =
        GetOmschrijvingFromTabel(ctx.admin.dbAdministratie(), "TabelRelatiegroepen", selectie);
  }
  return it->second;
}

std::optional<Customer> FindCustomer(OrderContext& ctx, const std::string& sRelNr) {
  TableRecordset& relaties = ctx.admin.Table("RelatieGegevens");
  CustomerFields& fields = ctx.Fields().customers;
  // A customer number without a record sends nothing for that customer:
  // without name and groups there is no destination to choose.
  relaties.SetIndex("PrimaryKey");
  relaties.Seek(Variant(sRelNr));
  if (relaties.NoMatch()) return std::nullopt;
  return Customer{fields.customer.Text(), TrimSpaces(fields.name.Text()),
                  TrimSpaces(fields.town.Text()), CustomerGroups(ctx, fields.groups.Text())};
}

// A stamp for either platform marks the whole order as delivered: one order
// is never reported twice, even to the other platform.
bool IsAlreadyDelivered(TableRecordset& meta, MetaFields& fields, const std::string& order_nr) {
  meta.Seek(Variant(order_nr));
  if (meta.NoMatch()) return false;
  return !fields.agrovision.Value().IsEmptyValue() || !fields.dacom.Value().IsEmptyValue();
}

std::string Datum(const Variant& datum) {
  std::string tekst = datum.Text();
  return TrimSpaces(DatumNaarTekst(tekst, false));
}

// Per customer: the customer record once it is needed, the destination
// switches and the price of the previous row (shown in the admission column
// of a row whose trimmed article is not in the list).
struct CustomerPass {
  std::optional<std::optional<Customer>> customer;
  Destination destination;
  Currency vorige_prijs;
};

const std::optional<Customer>& CustomerOnce(OrderContext& ctx, CustomerPass& w,
                                            const std::string& sRelNr) {
  if (!w.customer) w.customer = FindCustomer(ctx, sRelNr);
  return *w.customer;
}

void FillLine(OrderContext& ctx, const Customer& customer, CustomerPass& w) {
  OrderLineFields& line = ctx.Fields().lines;
  // Every found line starts checked; the window may leave lines out later.
  DeliveryLine& row = ctx.state.lvwLeveringen.emplace_back();
  row.checked = true;
  const std::string art_nr = line.article.Text();
  row.column(kColRelNr) = customer.relnr;
  row.column(kColNaam) = customer.naam;
  row.column(kColWoonplaats) = customer.woonplaats;
  row.column(kColMagazijnbon) = line.voucher.Text();
  row.column(kColOrderdatum) = Datum(line.order_date.Value());
  row.column(kColLeverdatum) = Datum(line.delivery_date.Value());
  row.column(kColArtNr) = TrimSpaces(art_nr);
  row.column(kColOmschrijving) =
      TrimSpaces(line.description1.Text() + " " + line.description2.Text());

  const LineAmounts bedragen =
      ComputeLineAmounts({line.quantity.Value(), line.price_unit.Value(), line.sales_price.Value(),
                          line.invoice_weight.Value(), line.discount.Value()},
                         ctx.separators);
  row.column(kColAantal) = bedragen.aantal;
  row.column(kColVerkoopprijs) = bedragen.verkoopprijs;
  // The admission number, or else the amount text of the previous row's price
  // (the column's first value, which the admission number replaces).
  const long index = ctx.state.lstArtNr.Find(TrimSpaces(art_nr));
  if (index != -1) {
    row.column(kColToelatingsnr) = ctx.state.lstArtNrToel.at(index);
  } else {
    Variant vorige(w.vorige_prijs);
    row.column(kColToelatingsnr) = NormaliseerBedrag(ctx.separators, vorige);
  }
  w.vorige_prijs = bedragen.prijs;
  row.column(kColBerekendePrijs) = bedragen.berekende_prijs;

  row.column(kColOrderNr) = line.order.Text();
  row.column(kColRelatiegroep) = customer.relation_groups;
  // Destinations only ever switch on; any line of the customer may do so.
  DetermineDestination(row.column(kColRelatiegroep), w.destination);
  // The tag is the order line's key, which the stamping seeks again.
  row.tag = line.line_key.Text();
}

// Runs the tests of one order line and adds its row when it passes. The
// article test needs no database, so it comes before the delivery marks are
// sought: most lines that fail it would otherwise cost a seek each.
void InspectLine(OrderContext& ctx, TableRecordset& meta, const std::string& sRelNr,
                 CustomerPass& w) {
  OrderLineFields& line = ctx.Fields().lines;
  if (!IsRecentEnough(line.order_date.Value())) return;
  if (line.voucher.Value().IsEmptyValue()) return;
  if (!IsInArtNr(ctx.state, line.article.Text())) return;
  if (IsAlreadyDelivered(meta, ctx.Fields().meta, line.order.Text())) return;
  const std::optional<Customer>& customer = CustomerOnce(ctx, w, sRelNr);
  if (!customer) return;
  FillLine(ctx, *customer, w);
}

void CollectLines(OrderContext& ctx, const std::string& sRelNr, CustomerPass& w) {
  TableRecordset& orders = ctx.admin.Table("Ordergegevens");
  TableRecordset& meta = ctx.admin.Table("OrderGegevensMeta");
  // The customer's lines are adjacent in this index; the walk stops at the
  // first line of the next customer.
  orders.SetIndex("RelNr");
  orders.MoveFirst();
  orders.Seek(Variant(sRelNr));
  if (orders.NoMatch()) return;
  meta.SetIndex("PrimaryKey");
  RecordField& relnr = ctx.Fields().lines.customer;
  while (!orders.IsEOF() && relnr.Text() == sRelNr) {
    InspectLine(ctx, meta, sRelNr, w);
    orders.MoveNext();
  }
}

// Whether the customer's pending rows need not be made at all: nobody looks
// at them (no window, no table on the console), no platform takes them, and
// making them could neither fail nor change the run's separators. Making them
// anyway would give the same run log, messages and stamps, only later: most
// customers of an administration go to no platform, and their lines stay
// pending at every run.
bool RowsUnseen(OrderContext& ctx, const Customer& customer,
                const std::vector<ScannedLines::Line>& lines) {
  if (ctx.view.ShowsDeliveryLines()) return false;
  // Only the Dutch separators: the first amount text pins the monetary ones
  // to them, which a row left out must not leave undone for the customers
  // after it, and only under them is a plain line known not to fail.
  if (ctx.separators != Separators()) return false;
  Destination destination;
  DetermineDestination(customer.relation_groups, destination);
  if (destination.bCropR || destination.bAgroVision) return false;
  return std::all_of(lines.begin(), lines.end(), [&](const ScannedLines::Line& line) {
    return line.plain || ctx.scanned->Delivered(line.order);
  });
}

// The lines the scan kept for the customer: each read in full only when it
// is still pending after the run's own stamps since the scan.
void FillKeptLines(OrderContext& ctx, const std::vector<ScannedLines::Line>& lines,
                   const std::string& sRelNr, CustomerPass& w) {
  TableRecordset& orders = ctx.admin.Table("Ordergegevens");
  bool first = true;
  for (const ScannedLines::Line& line : lines) {
    if (ctx.scanned->Delivered(line.order)) continue;
    const std::optional<Customer>& customer = CustomerOnce(ctx, w, sRelNr);
    if (!customer) return;
    if (std::exchange(first, false) && RowsUnseen(ctx, *customer, lines)) return;
    orders.GoTo(line.where);
    FillLine(ctx, *customer, w);
  }
}

// The customer's lines from what the scan kept; false when they must be
// read afresh (no longer kept, or another program wrote meanwhile, in which
// case nothing kept is used again).
bool CollectKeptLines(OrderContext& ctx, const std::string& sRelNr, CustomerPass& w) {
  if (!ctx.scanned) return false;
  Database& db = ctx.admin.dbAdministratie();
  if (!ctx.scanned->StillCurrent(db)) {
    ctx.scanned.reset();
    return false;
  }
  const std::vector<ScannedLines::Line>* lines = ctx.scanned->LinesOf(sRelNr);
  if (lines == nullptr) return false;
  try {
    FillKeptLines(ctx, *lines, sRelNr, w);
  } catch (const std::exception&) {
    // A record deleted by another program in between, say: read afresh.
    if (ctx.scanned->StillCurrent(db)) throw;
    ctx.scanned.reset();
    return false;
  }
  // A write that came in while the lines were read makes them a mixture.
  if (ctx.scanned->StillCurrent(db)) return true;
  ctx.scanned.reset();
  return false;
}

std::string Head(const char* soort, const char* label) { return PadRechts(soort, 10) + label; }

void LogBlock(RunLog& log, const char* soort, const std::string& sRelNr, size_t regels,
              const std::string& stempel) {
  log.LogRegel("");
  log.LogRegel(Head(soort, ": Relatienr.      : ") + sRelNr);
  log.LogRegel(Head(soort, ": Aantal regels   : ") + std::to_string(regels));
  log.LogRegel(Head(soort, ": Datum/tijdstip  : ") + stempel);
}

void SendToDestinations(OrderContext& ctx, const std::string& sRelNr,
                        const Destination& destination) {
  const size_t regels = ctx.state.lvwLeveringen.size();
  // One stamp for both platforms: the log and the stamped orders show the
  // same moment.
  const std::string stempel =
      FormatMoment(ctx.clock.Now(), "yyyymmdd") + FormatMoment(ctx.clock.Now(), "hhmmss");
  if (destination.bCropR) {
    LogBlock(ctx.log, "CROPR", sRelNr, regels, stempel);
    // Crop-R answers; only an accepted message marks the orders.
    if (ctx.builders.BouwBerichtCropR(sRelNr)) {
      ctx.log.LogRegel(Head("CROPR", ": Status          : ") + "OK");
      MarkeerGeleverd(ctx, stempel, kLeveringCropR);
    }
  }
  if (destination.bAgroVision) {
    LogBlock(ctx.log, "AGROVISION", sRelNr, regels, stempel);
    // An FTP upload has no reply to wait for: the orders are marked after
    // every upload.
    ctx.builders.BouwBerichtAgroVision(sRelNr);
    MarkeerGeleverd(ctx, stempel, kLeveringAgroVision);
  }
}

}  // namespace

bool IsRecentEnough(const Variant& order_datum) {
  const std::optional<double> jaar = TryParseNumber(order_datum.Text().substr(0, 4));
  return jaar && *jaar >= kEersteJaar;
}

void VerwerkRelatie(OrderContext& ctx, const std::string& sRelNr) {
  ctx.state.lvwLeveringen.clear();
  ++ctx.state.summary.customers;
  CustomerPass w;
  if (!CollectKeptLines(ctx, sRelNr, w)) {
    ctx.state.lvwLeveringen.clear();
    w = CustomerPass();
    CollectLines(ctx, sRelNr, w);
  }
  ctx.view.ShowDeliveryLines(ctx.state.lvwLeveringen);
  if (ctx.state.lvwLeveringen.empty()) return;
  SendToDestinations(ctx, sRelNr, w.destination);
}

}  // namespace typrosync

#include "message/delivery_message.h"

#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "message/message_header.h"
#include "message/message_line.h"
#include "message/message_values.h"
#include "message/sepa_text.h"

namespace typrosync {
namespace {

// Separates voucher and order in an entry of lstOrderNr. As a lone byte it
// never occurs in UTF-8 text, so the first one is always the separator.
constexpr char kPairSeparator = '\xFF';

// Room reserved for a message before it is built: generous, since reserved
// room that is never written costs no memory, while a buffer that has to grow
// holds its old and its new copy for a moment.
constexpr size_t kRoomPerLine = 1024;
constexpr size_t kRoomForHead = 4096;

// The customer's rows under their exact voucher and order, each list in row order.
using RowsPerPair = std::map<std::pair<std::string_view, std::string_view>, std::vector<size_t>>;

RowsPerPair RowsPerPairOf(const DeliveryLines& rows, const std::string& sRelNr) {
  RowsPerPair rows_per_pair;
  for (size_t k = 0; k < rows.size(); ++k) {
    const DeliveryLine& row = rows[k];
    if (row.column(kColRelNr) != sRelNr) continue;
    rows_per_pair[{row.column(kColMagazijnbon), row.column(kColOrderNr)}].push_back(k);
  }
  return rows_per_pair;
}

}  // namespace

MessageTables MessageTablesOf(Administratie& a) {
  return {a.Table("UserGegevens"),  a.Table("RelatieGegevens"), a.Table("TabelLandcode"),
          a.Table("Ordergegevens"), a.Table("Artikelen"),       a.Table("TabelArtikelgroepen")};
}

DeliveryMessage::DeliveryMessage(RunState& state, MessageTables tables, Clock& clock,
                                 Separators& separators)
    : state_(state), tables_(tables), clock_(clock), separators_(separators) {}

std::optional<std::string> DeliveryMessage::BouwBericht(const std::string& sRelNr,
                                                        Platform platform) {
  // Segments and pairs are per message: the same voucher in the other
  // platform's message opens its own segment again.
  state_.lstUniek.Clear();
  state_.lstOrderNr.Clear();
  TableRecordset& customer = tables_.rsRelatieGegevens;
  customer.SetIndex("PrimaryKey");
  customer.Seek(Variant(sRelNr));
  if (customer.NoMatch()) return std::nullopt;

  std::string sLandCode = CountryCode(customer, tables_.rsTabelLandcode);
  std::string sBerichtNummer = MessageNumber(clock_);
  std::string supplier_number;
  // Only the AgroVision message carries the supplier number; in the Crop-R
  // message the element stays empty.
  if (platform == Platform::kAgroVision) {
    supplier_number = MaakSepaTekst(state_.sLeveranciersNummer, 0);
  }
  cStringBuilder sbBericht;
  sbBericht.Reserve(kRoomForHead + kRoomPerLine * state_.lvwLeveringen.size());
  AppendHead(sbBericht, sBerichtNummer, state_.sZenderId);
  AppendSupplier(sbBericht, tables_.rsUserGegevens, supplier_number);
  AppendCustomer(sbBericht, sRelNr, customer, sLandCode, separators_);
  sbBericht.Append("<Segmenten>");
  CollectPairs(sRelNr);
  AppendSegments(sRelNr, sbBericht);
  sbBericht.Append("</Segmenten>");
  sbBericht.Append("</LeveringsBericht>");
  return sbBericht.TakeString();
}

void DeliveryMessage::CollectPairs(const std::string& sRelNr) {
  for (const DeliveryLine& row : state_.lvwLeveringen) {
    if (row.column(kColRelNr) != sRelNr) continue;
    std::string pair = row.column(kColMagazijnbon) + kPairSeparator + row.column(kColOrderNr);
    // First appearance decides the order of the segments in the message.
    if (!state_.lstOrderNr.Contains(pair)) state_.lstOrderNr.Add(std::move(pair));
  }
}

// Rows are offered pair by pair, so the lines of one voucher and order form
// one contiguous segment whatever their order in the list. A row belongs to
// a listed pair only when voucher and order match exactly (the list itself
// ignores case), so the rows are grouped once instead of searched per pair.
void DeliveryMessage::AppendSegments(const std::string& sRelNr, cStringBuilder& sbBericht) {
  MessageAssembly assembly{sbBericht, state_.lstUniek, separators_};
  const RowsPerPair rows_per_pair = RowsPerPairOf(state_.lvwLeveringen, sRelNr);
  const size_t pair_count = state_.lstOrderNr.size();
  for (size_t i = 0; i < pair_count; ++i) {
    const std::string& pair = state_.lstOrderNr.at(static_cast<long>(i));
    size_t split = pair.find(kPairSeparator);
    std::string voucher = pair.substr(0, split);
    std::string order = pair.substr(split + 1);
    const auto found = rows_per_pair.find({voucher, order});
    if (found == rows_per_pair.end()) continue;
    for (size_t k : found->second) {
      AppendRow(state_.lvwLeveringen[k], voucher, tables_, assembly);
    }
  }
  // Close what the last line left open; a message without lines has
  // neither element.
  if (assembly.iRegels > 0) sbBericht.Append("</SegmentLevering>");
  if (assembly.bGBMOpen) sbBericht.Append("</GBM>");
}

}  // namespace typrosync

#include "message/delivery_message.h"

#include "message/message_header.h"
#include "message/message_line.h"
#include "message/message_values.h"
#include "message/sepa_text.h"

namespace typrosync {
namespace {

// Separates voucher and order in an entry of lstOrderNr. As a lone byte it
// never occurs in UTF-8 text, so the first one is always the separator.
constexpr char kPaarScheiding = '\xFF';

}  // namespace

MessageTables MessageTablesOf(Administratie& a) {
  return {a.Table("UserGegevens"),  a.Table("RelatieGegevens"), a.Table("TabelLandcode"),
          a.Table("Ordergegevens"), a.Table("Artikelen"),       a.Table("TabelArtikelgroepen")};
}

DeliveryMessage::DeliveryMessage(RunState& state, MessageTables tabellen, Clock& clock,
                                 Separators& separators)
    : state_(state), tabellen_(tabellen), clock_(clock), separators_(separators) {}

std::optional<std::string> DeliveryMessage::BouwBericht(const std::string& sRelNr,
                                                        Platform platform) {
  state_.lstUniek.Clear();
  state_.lstOrderNr.Clear();
  TableRecordset& relatie = tabellen_.rsRelatieGegevens;
  relatie.SetIndex("PrimaryKey");
  relatie.Seek(Variant(sRelNr));
  if (relatie.NoMatch()) return std::nullopt;

  std::string sLandCode = CountryCode(relatie, tabellen_.rsTabelLandcode);
  std::string sBerichtNummer = MessageNumber(clock_);
  std::string leveranciers_nummer;
  if (platform == Platform::kAgroVision) {
    leveranciers_nummer = MaakSepaTekst(state_.sLeveranciersNummer, 0);
  }
  cStringBuilder sbBericht;
  AppendHead(sbBericht, sBerichtNummer, state_.sZenderId);
  AppendSupplier(sbBericht, tabellen_.rsUserGegevens, leveranciers_nummer);
  AppendCustomer(sbBericht, sRelNr, relatie, sLandCode, separators_);
  sbBericht.Append("<Segmenten>");
  CollectPairs(sRelNr);
  AppendSegments(sRelNr, sbBericht);
  sbBericht.Append("</Segmenten>");
  sbBericht.Append("</LeveringsBericht>");
  return sbBericht.toString();
}

void DeliveryMessage::CollectPairs(const std::string& sRelNr) {
  for (const DeliveryLine& row : state_.lvwLeveringen) {
    if (row.column(kColRelNr) != sRelNr) continue;
    std::string paar = row.column(kColMagazijnbon) + kPaarScheiding + row.column(kColOrderNr);
    if (!state_.lstOrderNr.Contains(paar)) state_.lstOrderNr.Add(std::move(paar));
  }
}

// Rows are offered pair by pair, so the lines of one voucher and order form
// one contiguous segment whatever their order in the list.
void DeliveryMessage::AppendSegments(const std::string& sRelNr, cStringBuilder& sbBericht) {
  BerichtOpbouw opbouw{sbBericht, state_.lstUniek, separators_};
  const size_t paren = state_.lstOrderNr.size();
  for (size_t i = 0; i < paren; ++i) {
    const std::string& paar = state_.lstOrderNr.at(static_cast<long>(i));
    size_t scheiding = paar.find(kPaarScheiding);
    std::string voucher = paar.substr(0, scheiding);
    std::string order = paar.substr(scheiding + 1);
    const size_t rijen = state_.lvwLeveringen.size();
    for (size_t k = 0; k < rijen; ++k) {
      const DeliveryLine& row = state_.lvwLeveringen[k];
      if (row.column(kColRelNr) == sRelNr && row.column(kColOrderNr) == order &&
          row.column(kColMagazijnbon) == voucher) {
        SchrijfRegel(row, voucher, tabellen_, opbouw);
      }
    }
  }
  if (opbouw.iRegels > 0) sbBericht.Append("</SegmentLevering>");
  if (opbouw.bGBMOpen) sbBericht.Append("</GBM>");
}

}  // namespace typrosync

#include "message/message_line.h"

#include "common/number_text.h"
#include "common/utf8_text.h"
#include "database/lookups.h"
#include "message/line_quantity.h"
#include "message/message_values.h"
#include "message/message_xml.h"

namespace typrosync {
namespace {

std::string FieldText(const TableRecordset& rs, const char* name) { return rs.Field(name).Text(); }

// Positions Ordergegevens on the line with this key and article number.
bool FindOrderLine(TableRecordset& rs, const std::string& tag, const std::string& artnr) {
  // Several articles may share one line key; the walk stays on the key and
  // looks for the row's own article.
  rs.SetIndex("RelnrOrderdatumRegnrIndex");
  rs.Seek(Variant(tag));
  if (rs.NoMatch()) return false;
  while (true) {
    if (FieldText(rs, "RelnrOrderdatumRegNrIndex") != tag) return false;
    if (FieldText(rs, "ArtNr") == artnr) return true;
    rs.MoveNext();
    if (rs.IsEOF()) return false;
  }
}

bool FindArticle(TableRecordset& rsArtikelen, const Variant& artnr) {
  rsArtikelen.SetIndex("PrimaryKey");
  rsArtikelen.Seek(artnr.IsNull() ? Variant(std::string()) : artnr);  // a Null reads as empty
  return !rsArtikelen.NoMatch();
}

void OpenSegment(const std::string& sSleutel, MessageTables& t, MessageAssembly& assembly) {
  const TableRecordset& order = t.rsOrdergegevens;
  std::string order_nr = FieldText(order, "OrderNr");
  // A new voucher closes the segment of the previous one, if it had lines.
  if (assembly.iRegels > 0) {
    assembly.sbBericht.Append("</SegmentLevering>");
    assembly.iRegels = 0;
  }
  AppendElement(assembly.sbBericht, "SegmentLevering",
                {{"A702197UniekeKeyBon", sSleutel},
                 {"A300225BonNummer", order_nr},
                 {"A702164BonDatum", MessageDate(FieldText(order, "OrderDatum"))},
                 {"A702754UBNNummer", Clean(FieldText(t.rsRelatieGegevens, "UBNNummer"))},
                 {"A702827OrderNummer", order_nr},
                 {"A702830GewensteLeverdatum", MessageDate(FieldText(order, "LeverDatum"))},
                 {"A702832BestelnummerKlant", Clean(FieldText(order, "Referentie"))}},
                ElementEnd::kOpen);
}

struct ArticleGroup {
  std::string code;
  std::string description;
};

ArticleGroup ReadArticleGroup(const Variant& value, TableRecordset& rsTabelArtikelgroepen) {
  ArticleGroup group{value.Text(), ""};
  // A negative group code names no group: both fields go out empty.
  if (LeadingNumber(group.code) < 0) return {"", ""};
  int16_t number = value.IsEmptyValue() ? 0 : ToInteger16(value.ToDouble());
  group.description = GetTabelOmschrijving(rsTabelArtikelgroepen, number);
  return group;
}

void AppendLine(const DeliveryLine& row, MessageTables& t, cStringBuilder& sb,
                 Separators& separators) {
  const TableRecordset& order = t.rsOrdergegevens;
  const TableRecordset& article = t.rsArtikelen;
  std::string line_number = LineNumber(row.tag);
  std::string quantity =
      QuantityText({order.Field("Aantal"), article.Field("StandaardAantal"),
                    order.Field("ArtikelGewicht"), article.Field("GewichtCategorie")},
                   separators);
  ArticleGroup group = ReadArticleGroup(order.Field("Artikelgroep"), t.rsTabelArtikelgroepen);
  std::string description =
      TrimSpaces(FieldText(order, "Omschrijving1") + " " + FieldText(order, "Omschrijving2"));
  AppendElement(sb, "SegmentEigenschapRegel",
                {{"A702165LeveringsbonRegelnr", line_number},
                 {"A203819ArtikelNummer", FieldText(order, "ArtNr")},
                 {"A203820ArtikelOmschrijving", Clean(description)},
                 {"A703286NettoHoeveelheidGeleverdProduct", quantity},
                 // Quantities are converted to litres, so the unit is fixed.
                 {"A204653HoeveelheidEenheid", "LTR"},
                 {"A204583ArtikelgroepCode", group.code},
                 {"A204584ArtikelgroepOmschrijving", group.description},
                 {"A702764SilonummerKlant", Clean(FieldText(order, "SILOnaam"))},
                 {"A201136Factuurnummer", ""},
                 {"A500259GBMToelatingsnummer", row.column(kColToelatingsnr)}},
                ElementEnd::kEmpty);
}

}  // namespace

void AppendRow(const DeliveryLine& row, const std::string& voucher, MessageTables& t,
               MessageAssembly& assembly) {
  const std::string& artnr = row.column(kColArtNr);
  // The crop-protection block opens with the first line of the message.
  if (!assembly.bGBMOpen) {
    assembly.sbBericht.Append("<GBM>");
    assembly.bGBMOpen = true;
  }
  std::string sSleutel;
  if (FindOrderLine(t.rsOrdergegevens, row.tag, artnr) &&
      FindArticle(t.rsArtikelen, t.rsOrdergegevens.Field("ArtNr"))) {
    sSleutel = VoucherKey(voucher, FieldText(t.rsOrdergegevens, "OrderNr"));
    // Lines of one voucher and order share one segment; lines of the same
    // key further on join it rather than opening a second one.
    if (!assembly.lstUniek.Contains(sSleutel)) {
      assembly.lstUniek.Add(sSleutel);
      OpenSegment(sSleutel, t, assembly);
    }
    ++assembly.iRegels;
  }
  // A row whose order line or article has gone since it was read is left
  // out of the message rather than sent half empty.
  if (sSleutel.empty()) return;
  AppendLine(row, t, assembly.sbBericht, assembly.separators);
}

}  // namespace typrosync

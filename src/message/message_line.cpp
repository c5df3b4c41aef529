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

void OpenSegment(const std::string& sSleutel, MessageTables& t, BerichtOpbouw& opbouw) {
  const TableRecordset& order = t.rsOrdergegevens;
  std::string order_nr = FieldText(order, "OrderNr");
  // A new voucher closes the segment of the previous one, if it had lines.
  if (opbouw.iRegels > 0) {
    opbouw.sbBericht.Append("</SegmentLevering>");
    opbouw.iRegels = 0;
  }
  AppendElement(opbouw.sbBericht, "SegmentLevering",
                {{"A702197UniekeKeyBon", sSleutel},
                 {"A300225BonNummer", order_nr},
                 {"A702164BonDatum", MessageDate(FieldText(order, "OrderDatum"))},
                 {"A702754UBNNummer", Clean(FieldText(t.rsRelatieGegevens, "UBNNummer"))},
                 {"A702827OrderNummer", order_nr},
                 {"A702830GewensteLeverdatum", MessageDate(FieldText(order, "LeverDatum"))},
                 {"A702832BestelnummerKlant", Clean(FieldText(order, "Referentie"))}},
                ElementEinde::kOpen);
}

struct Artikelgroep {
  std::string code;
  std::string omschrijving;
};

Artikelgroep ReadArticleGroup(const Variant& value, TableRecordset& rsTabelArtikelgroepen) {
  Artikelgroep groep{value.Text(), ""};
  // A negative group code names no group: both fields go out empty.
  if (LeadingNumber(groep.code) < 0) return {"", ""};
  int16_t nummer = value.IsEmptyValue() ? 0 : ToInteger16(value.ToDouble());
  groep.omschrijving = GetTabelOmschrijving(rsTabelArtikelgroepen, nummer);
  return groep;
}

void AppendLine(const DeliveryLine& row, MessageTables& t, cStringBuilder& sb,
                 Separators& separators) {
  const TableRecordset& order = t.rsOrdergegevens;
  const TableRecordset& artikel = t.rsArtikelen;
  std::string regel_nr = LineNumber(row.tag);
  std::string hoeveelheid =
      QuantityText({order.Field("Aantal"), artikel.Field("StandaardAantal"),
                        order.Field("ArtikelGewicht"), artikel.Field("GewichtCategorie")},
                       separators);
  Artikelgroep groep = ReadArticleGroup(order.Field("Artikelgroep"), t.rsTabelArtikelgroepen);
  std::string omschrijving =
      TrimSpaces(FieldText(order, "Omschrijving1") + " " + FieldText(order, "Omschrijving2"));
  AppendElement(sb, "SegmentEigenschapRegel",
                {{"A702165LeveringsbonRegelnr", regel_nr},
                 {"A203819ArtikelNummer", FieldText(order, "ArtNr")},
                 {"A203820ArtikelOmschrijving", Clean(omschrijving)},
                 {"A703286NettoHoeveelheidGeleverdProduct", hoeveelheid},
                 // Quantities are converted to litres, so the unit is fixed.
                 {"A204653HoeveelheidEenheid", "LTR"},
                 {"A204583ArtikelgroepCode", groep.code},
                 {"A204584ArtikelgroepOmschrijving", groep.omschrijving},
                 {"A702764SilonummerKlant", Clean(FieldText(order, "SILOnaam"))},
                 {"A201136Factuurnummer", ""},
                 {"A500259GBMToelatingsnummer", row.column(kColToelatingsnr)}},
                ElementEinde::kLeeg);
}

}  // namespace

void SchrijfRegel(const DeliveryLine& row, const std::string& voucher, MessageTables& t,
                  BerichtOpbouw& opbouw) {
  const std::string& artnr = row.column(kColArtNr);
  // The crop-protection block opens with the first line of the message.
  if (!opbouw.bGBMOpen) {
    opbouw.sbBericht.Append("<GBM>");
    opbouw.bGBMOpen = true;
  }
  std::string sSleutel;
  if (FindOrderLine(t.rsOrdergegevens, row.tag, artnr) &&
      FindArticle(t.rsArtikelen, t.rsOrdergegevens.Field("ArtNr"))) {
    sSleutel = VoucherKey(voucher, FieldText(t.rsOrdergegevens, "OrderNr"));
    // Lines of one voucher and order share one segment; lines of the same
    // key further on join it rather than opening a second one.
    if (!opbouw.lstUniek.Contains(sSleutel)) {
      opbouw.lstUniek.Add(sSleutel);
      OpenSegment(sSleutel, t, opbouw);
    }
    ++opbouw.iRegels;
  }
  // A row whose order line or article has gone since it was read is left
  // out of the message rather than sent half empty.
  if (sSleutel.empty()) return;
  AppendLine(row, t, opbouw.sbBericht, opbouw.separators);
}

}  // namespace typrosync

#include "message/message_header.h"

#include "common/number_text.h"
#include "common/utf8_text.h"
#include "database/lookups.h"
#include "message/message_values.h"
#include "message/message_xml.h"
#include "message/sepa_text.h"

namespace typrosync {
namespace {

std::string FieldText(const TableRecordset& rs, const char* name) { return rs.Field(name).Text(); }

// An empty code reads as 0, which no table entry uses, so the lookup gives
// an empty description instead of failing.
int16_t CodeOf(const Variant& value) {
  if (value.IsEmptyValue()) return 0;
  return ToInteger16(value.ToDouble());
}

}  // namespace

void AppendHead(cStringBuilder& sb, const std::string& sBerichtNummer,
               const std::string& sZenderId) {
  // The declaration is written byte for byte as the platforms have always
  // received it, space before "?>" included.
  sb.Append("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");
  AppendElement(sb, "LeveringsBericht",
                {{"xmlns", kBerichtNamespace}, {"xmlns:xsi", kXsiNamespace}}, ElementEnd::kOpen);
  AppendElement(sb, "Header",
                {{"A800004UniekBerichtNummer", sBerichtNummer},
                 {"A800006AssociationAssignedCode", "AC"},
                 {"A800010VerzendDatumBericht", SendDate(sBerichtNummer)},
                 {"A205003ZenderId", sZenderId},
                 {"A800002VersieNummerBerichtType", "1_05"}},
                ElementEnd::kEmpty);
}

void AppendSupplier(cStringBuilder& sb, const TableRecordset& rs,
                    const std::string& supplier_number) {
  AppendElement(sb, "Leverancier",
                {{"A702777LeveranciersNummer", supplier_number},
                 {"A702778Naam", Clean(FieldText(rs, "Naam"))},
                 {"A700138Contactpersoon", ""},
                 {"A702779Straatnaam", Clean(FieldText(rs, "Adres"))},
                 {"A702780Huisnummer", FieldText(rs, "Huisnummer")},
                 {"A702781Postcode", Clean(TrimSpaces(UpperCaseLatin1(FieldText(rs, "Postcode"))))},
                 {"A702782Plaatsnaam", FieldText(rs, "Woonplaats")},
                 // The program serves Dutch suppliers only.
                 {"A702783Land", "NL"},
                 {"A702762Telefoonnummer", FieldText(rs, "TelefoonNr")},
                 {"A702849EmailAdres", FieldText(rs, "Email")},
                 {"A702850URL", FieldText(rs, "WebSite")},
                 {"A204651VAT", FieldText(rs, "BTWNr")}},
                ElementEnd::kEmpty);
}

std::string CountryCode(const TableRecordset& rsRelatieGegevens, TableRecordset& rsTabelLandcode) {
  int16_t code = CodeOf(rsRelatieGegevens.Field("BedrijfsLandCode"));
  std::string description = GetTabelOmschrijving(rsTabelLandcode, code);
  // No fallback to "NL": the account check that once guarded this answers
  // true for every text that is not an IBAN, so every code of two letters
  // is written as looked up, inside or outside the SEPA countries.
  return Clean(TrimSpaces(UpperCaseLatin1(Utf8Left(description, 2))));
}

void AppendCustomer(cStringBuilder& sb, const std::string& sRelNr, const TableRecordset& rs,
                   const std::string& sLandCode,
                   const Separators& separators) {
  std::string name =
      TrimSpaces(FieldText(rs, "bedrijfsnaam1") + " " + FieldText(rs, "Bedrijfsnaam2"));
  // The customer's postcode gets the Dutch postcode layout; the supplier's
  // own is only put in upper case above.
  std::string postcode = FieldText(rs, "BedrijfsPostcode");
  AppendElement(sb, "Afnemer",
                {{"A203813KlantNummer", sRelNr},
                 {"A702785Naam", Clean(name)},
                 {"A703258Contactpersoon", ""},
                 {"A702786Straatnaam", Clean(FieldText(rs, "BedrijfsAdres"))},
                 {"A702787Huisnummer", Clean(FieldText(rs, "Bedrijfshuisnr"))},
                 {"A702788Postcode", Clean(OpmaakPostcode(postcode, separators))},
                 {"A702789Plaatsnaam", FieldText(rs, "BedrijfsWoonplaats")},
                 {"A702783Land", sLandCode}},
                ElementEnd::kEmpty);
}

}  // namespace typrosync

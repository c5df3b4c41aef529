// The message builders on a real administration: an SQLite file made by
// typrosync-admin, rows added with the sqlite3 client, the delivery lines set
// up as the order run leaves them. Only the clock is fixed.

#include "message/delivery_message.h"

#include <gtest/gtest.h>

#include "common/locale_settings.h"
#include "common/vb_error.h"
#include "database/sqlite_engine.h"
#include "e2e/admin_fixture.h"
#include "message/message_test_support.h"

namespace typrosync {
namespace {

using test_support::Sq;

// Parts of the expected message that do not change between the tests.
const std::string kKop =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>"
    "<LeveringsBericht xmlns=\"http://www.agroconnect.nl/Portals/10/XSDs/XML_Leveringsbericht/"
    "v1_05/XSD_XML-Leveringsbericht_v1_05.XSD\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
    "<Header A800004UniekBerichtNummer=\"2024030409050701\" A800006AssociationAssignedCode=\"AC\" "
    "A800010VerzendDatumBericht=\"2024-03-04T09:05:07Z\" A205003ZenderId=\"KORVELDAM\" "
    "A800002VersieNummerBerichtType=\"1_05\" />";

std::string Leverancier(const std::string& nummer) {
  return "<Leverancier A702777LeveranciersNummer=\"" + nummer +
         "\" A702778Naam=\"Agro Handel   Zn\" A700138Contactpersoon=\"\" "
         "A702779Straatnaam=\"Dorpsstraat\" A702780Huisnummer=\"12a\" A702781Postcode=\"1234AB\" "
         "A702782Plaatsnaam=\"Korveldam\" A702783Land=\"NL\" A702762Telefoonnummer=\"0511-123456\" "
         "A702849EmailAdres=\"info@korveldam.nl\" A702850URL=\"https://korveldam.nl/?a=1&b=2\" "
         "A204651VAT=\"NL001234567B01\" />";
}

const std::string kAfnemer =
    "<Afnemer A203813KlantNummer=\"10234\" A702785Naam=\"Maatschap Cafe .De Eik.\" "
    "A703258Contactpersoon=\"\" A702786Straatnaam=\"Eikenlaan,  achter\" "
    "A702787Huisnummer=\"7-9\" A702788Postcode=\"9411 ab\" A702789Plaatsnaam=\"Beil&n\" "
    "A702783Land=\"NL\" />";

const std::string kSlot = "</Segmenten></LeveringsBericht>";

std::string Segment(const std::string& sleutel, const std::string& order, const std::string& datum,
                    const std::string& lever, const std::string& referentie) {
  return "<SegmentLevering A702197UniekeKeyBon=\"" + sleutel + "\" A300225BonNummer=\"" + order +
         "\" A702164BonDatum=\"" + datum + "\" A702754UBNNummer=\"UBN 1234567\" " +
         "A702827OrderNummer=\"" + order + "\" A702830GewensteLeverdatum=\"" + lever +
         "\" A702832BestelnummerKlant=\"" + referentie + "\">";
}

std::string Regel(const std::string& nr, const std::string& artnr, const std::string& omschrijving,
                  const std::string& hoeveelheid, const std::string& groep,
                  const std::string& groep_omschrijving, const std::string& silo,
                  const std::string& toelating) {
  return "<SegmentEigenschapRegel A702165LeveringsbonRegelnr=\"" + nr +
         "\" A203819ArtikelNummer=\"" + artnr + "\" A203820ArtikelOmschrijving=\"" + omschrijving +
         "\" A703286NettoHoeveelheidGeleverdProduct=\"" + hoeveelheid +
         "\" A204653HoeveelheidEenheid=\"LTR\" A204583ArtikelgroepCode=\"" + groep +
         "\" A204584ArtikelgroepOmschrijving=\"" + groep_omschrijving +
         "\" A702764SilonummerKlant=\"" + silo + "\" A201136Factuurnummer=\"\" " +
         "A500259GBMToelatingsnummer=\"" + toelating + "\" />";
}

class DeliveryMessageTest : public MessageTestBase {
 protected:
  void SetUp() override {
    MessageTestBase::SetUp();
    AddCustomer();
    AddOrders();
  }

  void AddCustomer() {
    admin().Insert("RelatieGegevens", {{"RelNr", Sq("10234")},
                                       {"bedrijfsnaam1", Sq("Maatschap Caf\xC3\xA9 \"De Eik\"")},
                                       {"Bedrijfsnaam2", Sq("  ")},
                                       {"BedrijfsAdres", Sq("Eikenlaan;  achter")},
                                       {"Bedrijfshuisnr", Sq("7-9")},
                                       {"BedrijfsPostcode", Sq("9411ab")},
                                       {"BedrijfsWoonplaats", Sq("Beil&n")},
                                       {"BedrijfsLandCode", "1"},
                                       {"UBNNummer", Sq("UBN 1234567")}});
  }

  // Order 5001 on vouchers MB100 (lines 1 and 3) and MB101 (line 2); order
  // 5002 on voucher MB200 (line 1).
  void AddOrders() {
    AddArticle("A1", "1", "0");
    AddArticle("A2", "5", "2");
    AddArticle("A3", "0", "1");
    AddOrderLine("102342024030400010001", "5001", "A1", "10", "5", "3", "Fungicide X", "5 ltr",
                 "20240304", "20240306", "Ref 7/2024", "Silo <1>");
    AddOrderLine("102342024030400010002", "5001", "A2", "10", "1500", "-1", "Herbicide <Y>", "",
                 "20240304", "20240306", "Ref 7/2024", "");
    AddOrderLine("102342024030400010003", "5001", "A3", "2", "0.25", "0", "", "Olie", "20240304",
                 "20240306", "Ref 7/2024", "");
    admin().Sql("UPDATE Ordergegevens SET Omschrijving1 = NULL WHERE ArtNr = 'A3';");
    AddOrderLine("102342024030500020001", "5002", "A1", "4", "2.5", "4", "Middel", "", "20240305",
                 "", "", "");
    AddRow("MB100", "5001", "A1", "102342024030400010001");
    AddRow("MB101", "5001", "A2", "102342024030400010002");
    AddRow("MB100", "5001", "A3", "102342024030400010003");
    AddRow("MB200", "5002", "A1", "102342024030500020001");
  }

  std::string Segmenten() {
    return "<Segmenten><GBM>" +
           Segment("0000000000MB100000000000005001", "5001", "2024-03-04T12:00:00Z",
                   "2024-03-06T12:00:00Z", "Ref 7/2024") +
           Regel("1", "A1", "Fungicide X 5 ltr", "50.000", "3", "Fungiciden", "Silo .1", "T-A1") +
           Regel("3", "A3", "Olie", "500.000", "0", "", "", "T-A3") + "</SegmentLevering>" +
           Segment("0000000000MB101000000000005001", "5001", "2024-03-04T12:00:00Z",
                   "2024-03-06T12:00:00Z", "Ref 7/2024") +
           Regel("2", "A2", "Herbicide .Y", "3.000", "", "", "", "T-A2") + "</SegmentLevering>" +
           Segment("0000000000MB200000000000005002", "5002", "2024-03-05T12:00:00Z", "--T12:00:00Z",
                   "") +
           Regel("1", "A1", "Middel", "10.000", "4", "n/a", "", "T-A1") +
           "</SegmentLevering></GBM>";
  }
};

TEST_F(DeliveryMessageTest, AgroVisionMessageByteForByte) {
  Open();
  std::optional<std::string> bericht = builder().BouwBericht("10234", Platform::kAgroVision);
  ASSERT_TRUE(bericht);
  EXPECT_EQ(kKop + Leverancier("KORVELDAM") + kAfnemer + Segmenten() + kSlot, *bericht);
  EXPECT_EQ(std::string::npos, bericht->find_first_of("\r\n"));
}

TEST_F(DeliveryMessageTest, CropRMessageLeavesSupplierNumberEmpty) {
  Open();
  std::optional<std::string> bericht = builder().BouwBericht("10234", Platform::kCropR);
  ASSERT_TRUE(bericht);
  EXPECT_EQ(kKop + Leverancier("") + kAfnemer + Segmenten() + kSlot, *bericht);
}

// Rows of other customers, an article number that differs by trailing
// spaces and a voucher spelled in other capitals than its first row give no
// line; the pairs and keys of the build are left in the work lists.
TEST_F(DeliveryMessageTest, OnlyTheCustomersMatchingRowsAreWritten) {
  AddRow("MB100", "5001", "A1", "102342024030400010001", "99999");
  AddRow("mb100", "5001", "A1", "102342024030400010001");
  AddOrderLine("102342024030400010004", "5001", "A2 ", "1", "1", "0", "x", "", "20240304", "", "",
               "");
  AddRow("MB100", "5001", "A2", "102342024030400010004");
  Open();
  EXPECT_EQ(kKop + Leverancier("") + kAfnemer + Segmenten() + kSlot,
            builder().BouwBericht("10234", Platform::kCropR).value());
  EXPECT_EQ(3u, state().lstOrderNr.size());
  EXPECT_EQ(3u, state().lstUniek.size());
}

TEST_F(DeliveryMessageTest, UnknownCustomerBuildsNothing) {
  Open();
  EXPECT_FALSE(builder().BouwBericht("77777", Platform::kAgroVision));
}

TEST_F(DeliveryMessageTest, GbmOnlyWhenTheCustomerHasRows) {
  state().lvwLeveringen.clear();
  AddRow("MB300", "6000", "ZZ", "102349999");  // no such order line
  Open();
  EXPECT_EQ(kKop + Leverancier("") + kAfnemer + "<Segmenten><GBM></GBM>" + kSlot,
            builder().BouwBericht("10234", Platform::kCropR).value());
  state().lvwLeveringen.clear();
  EXPECT_EQ(kKop + Leverancier("") + kAfnemer + "<Segmenten>" + kSlot,
            builder().BouwBericht("10234", Platform::kCropR).value());
}

TEST_F(DeliveryMessageTest, CountryFromTheCodeTable) {
  struct Case {
    const char* code;
    const char* land;
  } cases[] = {{"1", "NL"}, {"2", "BE"}, {"3", "N/"}, {"4", "MA"},
               {"0", ""},   {"42", ""},  {"NULL", ""}};
  for (const Case& c : cases) {
    admin().Sql(std::string("UPDATE RelatieGegevens SET BedrijfsLandCode = ") + c.code + ";");
    Open();
    std::string bericht = builder().BouwBericht("10234", Platform::kCropR).value();
    EXPECT_NE(std::string::npos, bericht.find(std::string("A702783Land=\"") + c.land + "\" />"))
        << c.code;
  }
}

TEST_F(DeliveryMessageTest, NullFieldsReadAsEmpty) {
  admin().Sql(
      "UPDATE RelatieGegevens SET BedrijfsAdres = NULL, Bedrijfshuisnr = NULL, "
      "BedrijfsPostcode = NULL, UBNNummer = NULL;"
      "UPDATE UserGegevens SET Naam = NULL, Adres = NULL, Postcode = NULL;"
      "UPDATE Ordergegevens SET Referentie = NULL, SILOnaam = NULL, Artikelgroep = NULL, "
      "ArtikelGewicht = NULL;"
      "UPDATE Artikelen SET StandaardAantal = NULL, GewichtCategorie = NULL;");
  Open();
  std::string bericht = builder().BouwBericht("10234", Platform::kCropR).value();
  EXPECT_NE(std::string::npos, bericht.find("A702778Naam=\"\" A700138Contactpersoon=\"\" "
                                            "A702779Straatnaam=\"\""));
  EXPECT_NE(std::string::npos, bericht.find("A702754UBNNummer=\"\""));
  EXPECT_NE(std::string::npos,
            bericht.find("A703286NettoHoeveelheidGeleverdProduct=\"0.000\" "
                         "A204653HoeveelheidEenheid=\"LTR\" A204583ArtikelgroepCode=\"\" "
                         "A204584ArtikelgroepOmschrijving=\"\""));
}

TEST_F(DeliveryMessageTest, GroupNumberOutsideSixteenBitsEndsTheRun) {
  admin().Sql("UPDATE Ordergegevens SET Artikelgroep = 40000;");
  Open();
  try {
    builder().BouwBericht("10234", Platform::kCropR);
    FAIL() << "no error";
  } catch (const VbError& e) {
    EXPECT_EQ(6, e.number());
  }
}

}  // namespace
}  // namespace typrosync

// The message builders on a real administration made by typrosync-admin, the
// delivery lines set up as the order run leaves them. Only the clock is fixed.

#include "message/delivery_message.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "database/sqlite_engine.h"
#include "e2e/admin_fixture.h"
#include "common/test_support.h"

namespace typrosync {
namespace {

// The AgroVision message of customer 10234: order 5001 on vouchers MB100
// (lines 1 and 3) and MB101 (line 2), order 5002 on voucher MB200.
constexpr char kAgroVisionMessage[] =
    R"(<?xml version="1.0" encoding="UTF-8" ?><LeveringsBericht )"
    R"(xmlns="http://www.agroconnect.nl/Portals/10/XSDs/XML_Leveringsbericht/v1_05/)"
    R"(XSD_XML-Leveringsbericht_v1_05.XSD" )"
    R"(xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"><Header )"
    R"(A800004UniekBerichtNummer="2024030409050801" A800006AssociationAssignedCode="AC" )"
    R"(A800010VerzendDatumBericht="2024-03-04T09:05:08Z" A205003ZenderId="KORVELDAM" )"
    R"(A800002VersieNummerBerichtType="1_05" />)"
    R"(<Leverancier A702777LeveranciersNummer="KORVELDAM" A702778Naam="Agro Handel   Zn" )"
    R"(A700138Contactpersoon="" A702779Straatnaam="Dorpsstraat" A702780Huisnummer="12a" )"
    R"(A702781Postcode="1234AB" A702782Plaatsnaam="Korveldam" A702783Land="NL" )"
    R"(A702762Telefoonnummer="0511-123456" A702849EmailAdres="info@korveldam.nl" )"
    R"(A702850URL="https://korveldam.nl/?a=1&b=2" A204651VAT="NL001234567B01" />)"
    R"(<Afnemer A203813KlantNummer="10234" A702785Naam="Maatschap Cafe .De Eik." )"
    R"(A703258Contactpersoon="" A702786Straatnaam="Eikenlaan,  achter" A702787Huisnummer="7-9" )"
    R"(A702788Postcode="9411 ab" A702789Plaatsnaam="Beil&n" A702783Land="NL" />)"
    R"(<Segmenten><GBM><SegmentLevering A702197UniekeKeyBon="0000000000MB100000000000005001" )"
    R"(A300225BonNummer="5001" A702164BonDatum="2024-03-04T12:00:00Z" A702754UBNNummer="UBN )"
    R"(1234567" A702827OrderNummer="5001" A702830GewensteLeverdatum="2024-03-06T12:00:00Z" )"
    R"(A702832BestelnummerKlant="Ref 7/2024">)"
    R"(<SegmentEigenschapRegel A702165LeveringsbonRegelnr="1" A203819ArtikelNummer="A1" )"
    R"(A203820ArtikelOmschrijving="Fungicide X 5 ltr" )"
    R"(A703286NettoHoeveelheidGeleverdProduct="50.000" A204653HoeveelheidEenheid="LTR" )"
    R"(A204583ArtikelgroepCode="3" A204584ArtikelgroepOmschrijving="Fungiciden" )"
    R"(A702764SilonummerKlant="Silo .1" A201136Factuurnummer="" A500259GBMToelatingsnummer="T-A1" )"
    R"(/>)"
    R"(<SegmentEigenschapRegel A702165LeveringsbonRegelnr="3" A203819ArtikelNummer="A3" )"
    R"(A203820ArtikelOmschrijving="Olie" A703286NettoHoeveelheidGeleverdProduct="500.000" )"
    R"(A204653HoeveelheidEenheid="LTR" A204583ArtikelgroepCode="0" )"
    R"(A204584ArtikelgroepOmschrijving="" A702764SilonummerKlant="" A201136Factuurnummer="" )"
    R"(A500259GBMToelatingsnummer="T-A3" /></SegmentLevering>)"
    R"(<SegmentLevering A702197UniekeKeyBon="0000000000MB101000000000005001" )"
    R"(A300225BonNummer="5001" A702164BonDatum="2024-03-04T12:00:00Z" A702754UBNNummer="UBN )"
    R"(1234567" A702827OrderNummer="5001" A702830GewensteLeverdatum="2024-03-06T12:00:00Z" )"
    R"(A702832BestelnummerKlant="Ref 7/2024">)"
    R"(<SegmentEigenschapRegel A702165LeveringsbonRegelnr="2" A203819ArtikelNummer="A2" )"
    R"(A203820ArtikelOmschrijving="Herbicide .Y" A703286NettoHoeveelheidGeleverdProduct="3.000" )"
    R"(A204653HoeveelheidEenheid="LTR" A204583ArtikelgroepCode="" )"
    R"(A204584ArtikelgroepOmschrijving="" A702764SilonummerKlant="" A201136Factuurnummer="" )"
    R"(A500259GBMToelatingsnummer="T-A2" /></SegmentLevering>)"
    R"(<SegmentLevering A702197UniekeKeyBon="0000000000MB200000000000005002" )"
    R"(A300225BonNummer="5002" A702164BonDatum="2024-03-05T12:00:00Z" A702754UBNNummer="UBN )"
    R"(1234567" A702827OrderNummer="5002" A702830GewensteLeverdatum="--T12:00:00Z" )"
    R"(A702832BestelnummerKlant="">)"
    R"(<SegmentEigenschapRegel A702165LeveringsbonRegelnr="1" A203819ArtikelNummer="A1" )"
    R"(A203820ArtikelOmschrijving="Middel" A703286NettoHoeveelheidGeleverdProduct="10.000" )"
    R"(A204653HoeveelheidEenheid="LTR" A204583ArtikelgroepCode="4" )"
    R"(A204584ArtikelgroepOmschrijving="n/a" A702764SilonummerKlant="" A201136Factuurnummer="" )"
    R"(A500259GBMToelatingsnummer="T-A1" /></SegmentLevering></GBM></Segmenten></LeveringsBericht>)";

// Crop-R gets the same message without the supplier number.
std::string ExpectedCropRMessage() {
  std::string message = kAgroVisionMessage;
  const std::string supplier = "LeveranciersNummer=\"KORVELDAM\"";
  return message.replace(message.find(supplier), supplier.size(), "LeveranciersNummer=\"\"");
}

// Readings alternate between 9:05:07 and 9:05:08: a message number takes its
// date from one reading and its time from the next.
struct AlternatingClock : Clock {
  LocalDateTime Now() override { return {2024, 3, 4, 9, 5, 7 + readings++ % 2}; }
  int readings = 0;
};

class DeliveryMessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The separators keep the Dutch values they start with.
    admin_.Sql(
        "INSERT INTO UserGegevens (Naam, Adres, Huisnummer, Postcode, Woonplaats, TelefoonNr, "
        "Email, WebSite, BTWNr) VALUES ('Agro Handel & Zn', 'Dorpsstraat', '12a', ' 1234ab ', "
        "'Korveldam', '0511-123456', 'info@korveldam.nl', 'https://korveldam.nl/?a=1&b=2', "
        "'NL001234567B01');"
        "INSERT INTO TabelLandcode (Code, Omschrijving) VALUES (1, 'nl - Nederland'), "
        "(2, 'Belgie'), (3, '(niet ingesteld)'), (4, 'ma Marokko');"
        "INSERT INTO TabelArtikelgroepen (Code, Omschrijving) VALUES (3, 'Fungiciden'), "
        "(4, '(niet ingesteld)');"
        "INSERT INTO RelatieGegevens (RelNr, bedrijfsnaam1, Bedrijfsnaam2, BedrijfsAdres, "
        "Bedrijfshuisnr, BedrijfsPostcode, BedrijfsWoonplaats, BedrijfsLandCode, UBNNummer) "
        "VALUES (10234, 'Maatschap Caf\xC3\xA9 \"De Eik\"', '  ', 'Eikenlaan;  achter', '7-9', "
        "'9411ab', 'Beil&n', 1, 'UBN 1234567');"
        "INSERT INTO Artikelen (Artikelnummer, ToelatingsNummer, StandaardAantal, "
        "GewichtCategorie) VALUES ('A1', 'T-A1', 1, 0), ('A2', 'T-A2', 5, 2), "
        "('A3', 'T-A3', 0, 1);"
        "INSERT INTO Ordergegevens (RelnrOrderdatumRegNrIndex, RelNr, OrderNr, ArtNr, OrderDatum, "
        "LeverDatum, Aantal, ArtikelGewicht, Artikelgroep, Omschrijving1, Omschrijving2, "
        "Referentie, SILOnaam) VALUES "
        "('102342024030400010001', 10234, 5001, 'A1', '20240304', '20240306', 10, 5, 3, "
        "'Fungicide X', '5 ltr', 'Ref 7/2024', 'Silo <1>'), "
        "('102342024030400010002', 10234, 5001, 'A2', '20240304', '20240306', 10, 1500, -1, "
        "'Herbicide <Y>', '', 'Ref 7/2024', ''), "
        "('102342024030400010003', 10234, 5001, 'A3', '20240304', '20240306', 2, 0.25, 0, "
        "NULL, 'Olie', 'Ref 7/2024', ''), "
        "('102342024030500020001', 10234, 5002, 'A1', '20240305', '', 4, 2.5, 4, 'Middel', '', "
        "'', '');");
    AddRow("MB100", "5001", "A1", "102342024030400010001");
    AddRow("MB101", "5001", "A2", "102342024030400010002");
    AddRow("MB100", "5001", "A3", "102342024030400010003");
    AddRow("MB200", "5002", "A1", "102342024030500020001");
  }

  // A delivery line as the order run leaves it; admission number "T-" + artnr.
  void AddRow(const std::string& voucher, const std::string& order, const std::string& artnr,
              const std::string& tag, const std::string& relnr = "10234") {
    DeliveryLine line;
    line.column(kColRelNr) = relnr;
    line.column(kColMagazijnbon) = voucher;
    line.column(kColArtNr) = artnr;
    line.column(kColToelatingsnr) = "T-" + artnr;
    line.column(kColOrderNr) = order;
    line.tag = tag;
    state_.lvwLeveringen.push_back(line);
  }

  // Opens the administration and the builder.
  DeliveryMessage& Open() {
    builder_.reset();
    // Opening makes the data folder the working directory; the folder goes
    // away with the test, and processes started later would inherit it.
    const std::filesystem::path werkmap = std::filesystem::current_path();
    administratie_ = OpenAdministratie(admin_.folder(), *engine_, ui_);
    std::filesystem::current_path(werkmap);
    if (!administratie_) throw std::runtime_error("administration did not open");
    TableRecordset& user = administratie_->Table("UserGegevens");
    if (user.RecordCount() > 0) user.MoveFirst();  // as the run's caption does
    builder_ = std::make_unique<DeliveryMessage>(state_, MessageTablesOf(*administratie_),
                                                 clock_, separators_);
    return *builder_;
  }

  std::string CropR() { return Open().BouwBericht("10234", Platform::kCropR).value(); }

  test_support::TestAdministratie admin_{TYPROSYNC_ADMIN_TOOL};
  RunState state_;
  Separators separators_;
  AlternatingClock clock_;
  test_support::QuietUi ui_;
  std::unique_ptr<DatabaseEngine> engine_ = MakeSqliteEngine();
  std::unique_ptr<Administratie> administratie_;
  std::unique_ptr<DeliveryMessage> builder_;
};

TEST_F(DeliveryMessageTest, BothMessagesByteForByte) {
  DeliveryMessage& builder = Open();
  EXPECT_EQ(kAgroVisionMessage, builder.BouwBericht("10234", Platform::kAgroVision).value());
  EXPECT_EQ(ExpectedCropRMessage(), builder.BouwBericht("10234", Platform::kCropR).value());
  EXPECT_FALSE(builder.BouwBericht("77777", Platform::kAgroVision));
}

// Rows of other customers, an article number that differs by trailing
// spaces and a voucher spelled in other capitals than its first row give no
// line; the pairs and keys of the build stay in the work lists.
TEST_F(DeliveryMessageTest, OnlyTheCustomersMatchingRowsAreWritten) {
  AddRow("MB100", "5001", "A1", "102342024030400010001", "99999");
  AddRow("mb100", "5001", "A1", "102342024030400010001");
  admin_.Sql(
      "INSERT INTO Ordergegevens (RelnrOrderdatumRegNrIndex, RelNr, OrderNr, ArtNr, Aantal) "
      "VALUES ('102342024030400010004', 10234, 5001, 'A2 ', 1);");
  AddRow("MB100", "5001", "A2", "102342024030400010004");
  EXPECT_EQ(ExpectedCropRMessage(), CropR());
  EXPECT_EQ(3u, state_.lstOrderNr.size());
  EXPECT_EQ(3u, state_.lstUniek.size());
}

TEST_F(DeliveryMessageTest, GbmOnlyWhenTheCustomerHasRows) {
  const std::string without_lines =
      ExpectedCropRMessage().substr(0, ExpectedCropRMessage().find("<GBM>"));
  state_.lvwLeveringen.clear();
  AddRow("MB300", "6000", "ZZ", "102349999");  // no such order line
  EXPECT_EQ(without_lines + "<GBM></GBM></Segmenten></LeveringsBericht>", CropR());
  state_.lvwLeveringen.clear();
  EXPECT_EQ(without_lines + "</Segmenten></LeveringsBericht>", CropR());
}

TEST_F(DeliveryMessageTest, CountryFromTheCodeTable) {
  const std::pair<const char*, const char*> cases[] = {
      {"1", "NL"}, {"2", "BE"}, {"3", "N/"}, {"4", "MA"}, {"0", ""}, {"42", ""}, {"NULL", ""}};
  for (const auto& [code, country] : cases) {
    admin_.Sql(std::string("UPDATE RelatieGegevens SET BedrijfsLandCode = ") + code + ";");
    EXPECT_NE(std::string::npos, CropR().find(std::string("A702783Land=\"") + country + "\" />"))
        << code;
  }
}

TEST_F(DeliveryMessageTest, NullFieldsReadAsEmpty) {
  admin_.Sql(
      "UPDATE RelatieGegevens SET BedrijfsAdres = NULL, Bedrijfshuisnr = NULL, "
      "BedrijfsPostcode = NULL, UBNNummer = NULL;"
      "UPDATE UserGegevens SET Naam = NULL, Adres = NULL, Postcode = NULL;"
      "UPDATE Ordergegevens SET Referentie = NULL, SILOnaam = NULL, Artikelgroep = NULL, "
      "ArtikelGewicht = NULL;"
      "UPDATE Artikelen SET StandaardAantal = NULL, GewichtCategorie = NULL;");
  const std::string message = CropR();
  EXPECT_NE(std::string::npos, message.find("A702778Naam=\"\" A700138Contactpersoon=\"\" "
                                            "A702779Straatnaam=\"\""));
  EXPECT_NE(std::string::npos, message.find("A702754UBNNummer=\"\""));
  EXPECT_NE(std::string::npos,
            message.find("A703286NettoHoeveelheidGeleverdProduct=\"0.000\" "
                         "A204653HoeveelheidEenheid=\"LTR\" A204583ArtikelgroepCode=\"\" "
                         "A204584ArtikelgroepOmschrijving=\"\""));
}

TEST_F(DeliveryMessageTest, GroupNumberOutsideSixteenBitsEndsTheRun) {
  admin_.Sql("UPDATE Ordergegevens SET Artikelgroep = 40000;");
  EXPECT_EQ(6, test_support::ErrorNumber([&] { CropR(); }));
}

}  // namespace
}  // namespace typrosync

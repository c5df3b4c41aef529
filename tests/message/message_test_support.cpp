#include "message/message_test_support.h"

#include <filesystem>

#include "common/date_format.h"
#include "common/locale_settings.h"
#include "database/sqlite_engine.h"

namespace typrosync {

using test_support::Sq;

void MessageTestBase::SetUp() {
  gsDecimaalTeken = ",";
  gsDuizendTeken = ".";
  gsDecimaalTekenGetal = ",";
  gsDuizendTekenGetal = ".";
  gsSpatie = " ";
  admin_ = std::make_unique<test_support::TestAdministratie>(TYPROSYNC_ADMIN_TOOL);
  state_.sRunId = "20240304_090501";
  admin().Insert("UserGegevens", {{"Naam", Sq("Agro Handel & Zn")},
                                  {"Adres", Sq("Dorpsstraat")},
                                  {"Huisnummer", Sq("12a")},
                                  {"Postcode", Sq(" 1234ab ")},
                                  {"Woonplaats", Sq("Korveldam")},
                                  {"TelefoonNr", Sq("0511-123456")},
                                  {"Email", Sq("info@korveldam.nl")},
                                  {"WebSite", Sq("https://korveldam.nl/?a=1&b=2")},
                                  {"BTWNr", Sq("NL001234567B01")}});
  admin().Sql(
      "INSERT INTO TabelLandcode (Code, Omschrijving) VALUES (1, 'nl - Nederland'), "
      "(2, 'Belgie'), (3, '(niet ingesteld)'), (4, 'ma Marokko');"
      "INSERT INTO TabelArtikelgroepen (Code, Omschrijving) VALUES (3, 'Fungiciden'), "
      "(4, '(niet ingesteld)');");
}

void MessageTestBase::Open(HttpsSender* https, FtpSender* ftp) {
  engine_ = MakeSqliteEngine();
  // Opening makes the data folder the working directory; the folder goes
  // away with the test, and servers started later would inherit it.
  std::filesystem::path werkmap = std::filesystem::current_path();
  administratie_ = OpenAdministratie(admin().folder(), *engine_, ui_);
  std::filesystem::current_path(werkmap);
  ASSERT_TRUE(administratie_) << "administration did not open";
  TableRecordset& user = administratie_->Table("UserGegevens");
  if (user.RecordCount() > 0) user.MoveFirst();
  log_ = std::make_unique<RunLog>(clock_, ui_, "TESTPC");
  log_->SetDataMap(admin().folder());
  if (https == nullptr) {
    HttpsOptions options;
    options.url = "https://127.0.0.1:9/supplier/edi_levering/";
    https_ = MakeHttpsSender(admin().folder(), options);
    https = https_.get();
  }
  if (ftp == nullptr) {
    ftp_ = MakeFtpSender(admin().folder(), ui_, FtpDeliveryOptions{9, 1000, 1000});
    ftp = ftp_.get();
  }
  builder_ = std::make_unique<DeliveryMessage>(state_, BerichtTabellenVan(*administratie_), *https,
                                               *ftp, clock_, *log_);
}

void MessageTestBase::AddArticle(const std::string& artnr, const std::string& standaard,
                                 const std::string& categorie) {
  admin().Insert("Artikelen", {{"Artikelnummer", Sq(artnr)},
                               {"ToelatingsNummer", Sq("T-" + artnr)},
                               {"StandaardAantal", standaard},
                               {"GewichtCategorie", categorie}});
}

void MessageTestBase::AddOrderLine(const std::string& key, const std::string& order,
                                   const std::string& artnr, const std::string& aantal,
                                   const std::string& gewicht, const std::string& groep,
                                   const std::string& oms1, const std::string& oms2,
                                   const std::string& orderdatum, const std::string& leverdatum,
                                   const std::string& referentie, const std::string& silo) {
  admin().Insert("Ordergegevens", {{"RelnrOrderdatumRegNrIndex", Sq(key)},
                                   {"RelNr", Sq("10234")},
                                   {"OrderNr", Sq(order)},
                                   {"ArtNr", Sq(artnr)},
                                   {"OrderDatum", Sq(orderdatum)},
                                   {"LeverDatum", Sq(leverdatum)},
                                   {"Aantal", aantal},
                                   {"ArtikelGewicht", gewicht},
                                   {"Artikelgroep", groep},
                                   {"Omschrijving1", Sq(oms1)},
                                   {"Omschrijving2", Sq(oms2)},
                                   {"Referentie", Sq(referentie)},
                                   {"SILOnaam", Sq(silo)}});
}

void MessageTestBase::AddRow(const std::string& voucher, const std::string& order,
                             const std::string& artnr, const std::string& tag,
                             const std::string& relnr) {
  DeliveryLine line;
  line.column(kColRelNr) = relnr;
  line.column(kColMagazijnbon) = voucher;
  line.column(kColArtNr) = artnr;
  line.column(kColToelatingsnr) = "T-" + artnr;
  line.column(kColOrderNr) = order;
  line.tag = tag;
  state_.lvwLeveringen.push_back(line);
}

std::string MessageTestBase::LogText() const {
  std::string path = admin_->folder() + "typrosync-" + FormatMoment(clock_.now, "yyyy-mm") + ".log";
  return test_support::ReadFileBytes(path);
}

}  // namespace typrosync

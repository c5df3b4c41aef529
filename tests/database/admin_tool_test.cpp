// typrosync-admin: the schema it creates is the one the sync reads, and the
// sample is realistic and the same for the same seed.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "admin_schema.h"
#include "database/administratie.h"
#include "database/administratie_tables.h"
#include "database/database_test_support.h"
#include "database/lookups.h"
#include "sample_data.h"

namespace typrosync {
namespace {

using test_support::CountingUi;
using test_support::ErrorNumberOf;
using test_support::TempDir;

class AdminToolTest : public ::testing::Test {
 protected:
  std::unique_ptr<Administratie> Open(const std::string& folder) {
    return OpenAdministratie(folder, *engine_, ui_);
  }
  // Every field of every row of the table, in its insertion order.
  std::string Dump(TableRecordset& rs, const std::vector<std::string>& fields) {
    std::string text;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
      for (const std::string& field : fields) text += rs.Field(field).Text() + "|";
      text += "\n";
    }
    return text;
  }
  void Sample(const std::string& dir, uint64_t seed) {
    admin::CreateAdministration(dir, "", [&](AdministrationWriter& w) {
      admin::FillSample(w, {20, 300, seed});
    });
  }

  TempDir dir_;
  std::unique_ptr<DatabaseEngine> engine_ = MakeSqliteEngine();
  CountingUi ui_;
};

TEST_F(AdminToolTest, CreatedAdministrationHasTheFieldsAndIndexesTheSyncReads) {
  admin::CreateAdministration(dir_.path() + "nieuw", "");
  std::unique_ptr<Administratie> administratie = Open(dir_.path() + "nieuw/");
  ASSERT_TRUE(administratie);
  const std::map<std::string, std::vector<std::string>> fields = {
      {"Ordergegevens",
       {"RelNr", "OrderNr", "OrderDatum", "LeverDatum", "MagazijnBonNr", "ArtNr", "Omschrijving1",
        "Omschrijving2", "Aantal", "PrijsPer", "VerkoopPrijs", "FactuurGewicht",
        "KortingPercentage", "RelnrOrderdatumRegNrIndex", "Referentie", "ArtikelGewicht",
        "SILOnaam", "Artikelgroep"}},
      {"OrderGegevensMeta", {"OrderNr", "LeveringNaarAgroVision", "LeveringNaarDacom"}},
      {"RelatieGegevens",
       {"RelNr", "bedrijfsnaam1", "Bedrijfsnaam2", "BedrijfsAdres", "Bedrijfshuisnr",
        "BedrijfsPostcode", "BedrijfsWoonplaats", "BedrijfsLandCode", "UBNNummer", "Relatiegroep"}},
      {"Artikelen", {"Artikelnummer", "ToelatingsNummer", "StandaardAantal", "GewichtCategorie"}},
      {"UserGegevens",
       {"Naam", "Adres", "Huisnummer", "Postcode", "Woonplaats", "TelefoonNr", "Email", "WebSite",
        "BTWNr"}},
      {"TabelRelatiegroepen", {"Code", "Omschrijving"}},
      {"TabelLandcode", {"Code", "Omschrijving"}},
      {"TabelArtikelgroepen", {"Code", "Omschrijving"}}};
  for (const auto& [table, names] : fields) {
    TableRecordset& rs = administratie->Table(table);
    // A known field without a current record is 3021; an unknown one 3265.
    for (const std::string& name : names) {
      EXPECT_EQ(ErrorNumberOf([&] { rs.Field(name); }), 3021) << table << "." << name;
    }
  }
  for (const char* index : {"RelNr", "RelnrOrderdatumRegNrIndex", "RelnrOrderdatumRegnrIndex"}) {
    EXPECT_EQ(ErrorNumberOf([&] { administratie->Table("Ordergegevens").SetIndex(index); }), 0);
  }
  for (const AdministratieTable& table : AdministratieTables()) {
    if (std::string_view(table.name).starts_with("Tabel")) {
      EXPECT_EQ(GetTabelOmschrijving(administratie->Table(table.name), 1), "") << table.name;
    }
  }
}

TEST_F(AdminToolTest, CreateNeverOverwritesAnAdministration) {
  admin::CreateAdministration(dir_.path(), "");
  std::unique_ptr<Administratie> first = Open(dir_.path());
  ASSERT_TRUE(first);
  first.reset();
  EXPECT_THROW(admin::CreateAdministration(dir_.path(), "geheim"), VbError);
  EXPECT_TRUE(Open(dir_.path()));  // still the first one, without password
}

TEST_F(AdminToolTest, SampleIsTheSameForTheSameSeed) {
  const std::vector<std::string> fields = {"RelnrOrderdatumRegNrIndex",
                                           "RelNr",
                                           "OrderNr",
                                           "OrderDatum",
                                           "MagazijnBonNr",
                                           "ArtNr",
                                           "Aantal",
                                           "VerkoopPrijs",
                                           "FactuurGewicht"};
  std::vector<std::string> dumps;
  for (auto [name, seed] :
       std::vector<std::pair<std::string, uint64_t>>{{"a", 7}, {"b", 7}, {"c", 8}}) {
    Sample(dir_.path() + name, seed);
    std::unique_ptr<Administratie> administratie = Open(dir_.path() + name + "/");
    ASSERT_TRUE(administratie);
    dumps.push_back(
        Dump(administratie->Table("Ordergegevens"), fields) +
        Dump(administratie->Table("RelatieGegevens"), {"bedrijfsnaam1", "Relatiegroep"}));
  }
  EXPECT_EQ(dumps[0], dumps[1]);
  EXPECT_NE(dumps[0], dumps[2]);
}

TEST_F(AdminToolTest, SampleHoldsEveryKindOfRowTheSyncMeets) {
  Sample(dir_.path(), 1);
  std::unique_ptr<Administratie> administratie = Open(dir_.path());
  ASSERT_TRUE(administratie);
  std::map<std::string, int> seen;
  TableRecordset& lines = administratie->Table("Ordergegevens");
  TableRecordset& meta = administratie->Table("OrderGegevensMeta");
  meta.SetIndex("PrimaryKey");
  long count = 0;
  for (lines.MoveFirst(); !lines.IsEOF(); lines.MoveNext(), ++count) {
    seen[lines.Field("OrderDatum").Text().substr(0, 4)]++;
    if (lines.Field("MagazijnBonNr").IsEmptyValue()) seen["no voucher"]++;
    meta.Seek(lines.Field("OrderNr"));
    if (meta.NoMatch()) {
      seen["no meta"]++;
    } else if (!meta.Field("LeveringNaarDacom").IsEmptyValue() ||
               !meta.Field("LeveringNaarAgroVision").IsEmptyValue()) {
      seen["stamped"]++;
    }
  }
  EXPECT_EQ(count, 300);
  for (const char* kind : {"2016", "2026", "no voucher", "no meta", "stamped"}) {
    EXPECT_GT(seen[kind], 0) << kind;
  }
  TableRecordset& articles = administratie->Table("Artikelen");
  for (articles.MoveFirst(); !articles.IsEOF(); articles.MoveNext()) {
    seen[articles.Field("ToelatingsNummer").IsEmptyValue() ? "ordinary" : "admitted"]++;
  }
  TableRecordset& customers = administratie->Table("RelatieGegevens");
  for (customers.MoveFirst(); !customers.IsEOF(); customers.MoveNext()) {
    const std::string groups =
        GetOmschrijvingFromTabel(administratie->dbAdministratie(), "TabelRelatiegroepen",
                                 customers.Field("Relatiegroep").Text());
    seen[groups.find("Crop-R") != std::string::npos || groups.find("Dacom") != std::string::npos
             ? "cropr"
         : groups.find("Agro") != std::string::npos ? "agrovision"
                                                    : "unrouted"]++;
  }
  for (const char* kind : {"ordinary", "admitted", "cropr", "agrovision", "unrouted"}) {
    EXPECT_GT(seen[kind], 0) << kind;
  }
}

TEST_F(AdminToolTest, CommandLineCreatesAndRefusesBadArguments) {
  const std::string tool = TYPROSYNC_ADMIN_TOOL;
  auto run = [&](const std::string& args) {
    const int status = std::system((tool + " " + args + " 2>/dev/null").c_str());
    return WEXITSTATUS(status);
  };
  EXPECT_EQ(run("create '" + dir_.path() + "met wachtwoord' --password 'Ta11yra!'"), 0);
  EXPECT_TRUE(std::filesystem::exists(dir_.path() + "met wachtwoord/Archief.mdb"));
  EXPECT_FALSE(Open(dir_.path() + "met wachtwoord/"));  // no password file
  EXPECT_EQ(run("create '" + dir_.path() + "met wachtwoord'"), 1);
  EXPECT_EQ(run("sample '" + dir_.path() + "s' --lines 50 --customers 5 --seed 3"), 0);
  EXPECT_TRUE(Open(dir_.path() + "s/"));
  for (const char* bad : {"", "create", "verwijder x", "sample x --lines veel",
                          "sample x --customers 0", "create x --lines 5", "sample x --seed"}) {
    EXPECT_EQ(run(bad), 2) << bad;
  }
}

}  // namespace
}  // namespace typrosync

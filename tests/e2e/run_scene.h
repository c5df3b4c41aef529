#pragma once
// The set-up the end-to-end runs share: an administration with a supplier,
// the customer groups and articles GEN-1 to GEN-5, customers and order lines
// added per test, local receivers, and the built typrosync run on it.

#include <string>
#include <vector>

#include "e2e/admin_fixture.h"

namespace typrosync::test_support {

class RunScene {
 protected:
  RunScene() {
    admin_.Sql(
        "INSERT INTO UserGegevens (Naam, Adres, Huisnummer, Postcode, Woonplaats, TelefoonNr, "
        "Email, WebSite, BTWNr) VALUES ('Agro Handel Korveldam B.V.', 'Dorpsstraat', '12a', "
        "'1234 ab', 'Korveldam', '0511-123456', 'info@korveldam.nl', 'https://korveldam.nl', "
        "'NL001234567B01');"
        "INSERT INTO TabelRelatiegroepen (Code, Omschrijving) VALUES (1, 'Crop-R'), "
        "(2, 'AgroVision'), (3, 'Dacom');"
        "INSERT INTO TabelLandcode (Code, Omschrijving) VALUES (1, 'NL Nederland');"
        "INSERT INTO TabelArtikelgroepen (Code, Omschrijving) VALUES (3, 'Fungiciden'), "
        "(4, '(niet ingesteld)');"
        "INSERT INTO Artikelen (Artikelnummer, ToelatingsNummer, StandaardAantal, "
        "GewichtCategorie) VALUES ('GEN-1', 'T-GEN-1', 1, 0), ('GEN-2', 'T-GEN-2', 5, 2), "
        "('GEN-3', 'T-GEN-3', 0, 1), ('GEN-4', 'T-GEN-4', 1, 3), ('GEN-5', 'T-GEN-5', 2, 5);");
  }

  // A customer of the groups `group` ("X" Crop-R, " X" AgroVision, "  X" Dacom).
  void AddCustomer(const std::string& relnr, const std::string& group,
                   const std::string& name = "Boer", const std::string& address = "Veldweg") {
    admin_.Sql(
        "INSERT INTO RelatieGegevens (RelNr, bedrijfsnaam1, Bedrijfsnaam2, BedrijfsAdres, "
        "Bedrijfshuisnr, BedrijfsPostcode, BedrijfsWoonplaats, BedrijfsLandCode, UBNNummer, "
        "Relatiegroep) VALUES (" +
        relnr + ", " + Sq(name) + ", '', " + Sq(address) + ", '1', '9411ab', 'Beilen', 1, " +
        "'1234567', " + Sq(group) + ");");
  }

  // One order line, ordered and delivered on the date in its key after the
  // customer number; the order's delivery marks start empty.
  void AddLine(const std::string& relnr, const std::string& order, const std::string& voucher,
               const std::string& artnr, const std::string& key, const std::string& quantity = "10",
               const std::string& weight = "1", const std::string& group = "3",
               const std::string& description = "Middel") {
    const std::string date = Sq(key.substr(relnr.size(), 8));
    admin_.Sql(
        "INSERT INTO Ordergegevens (RelnrOrderdatumRegNrIndex, RelNr, OrderNr, OrderDatum, "
        "LeverDatum, MagazijnBonNr, ArtNr, Omschrijving1, Omschrijving2, Aantal, PrijsPer, "
        "VerkoopPrijs, FactuurGewicht, KortingPercentage, ArtikelGewicht, Artikelgroep, "
        "Referentie, SILOnaam) VALUES (" +
        Sq(key) + ", " + relnr + ", " + order + ", " + date + ", " + date + ", " + Sq(voucher) +
        ", " + Sq(artnr) + ", " + Sq(description) + ", '', " + quantity + ", 1, 2.5, 0, 0, " +
        weight + ", " + group + ", '', '');" + "INSERT OR IGNORE INTO OrderGegevensMeta VALUES (" +
        order + ", '', '');");
  }
  // A customer with one line of GEN-1 on order `order`, delivered 4 March 2024.
  void AddCustomerWithLine(const std::string& relnr, const std::string& group,
                           const std::string& order) {
    AddCustomer(relnr, group);
    AddLine(relnr, order, "V1", "GEN-1", relnr + "2024030400010001");
  }

  // The receivers, the offscreen platform and a private runtime folder (no
  // start-up warning about a missing one).
  Environment Env() const {
    Environment env = receivers_.Env();
    env.push_back({"QT_QPA_PLATFORM", "offscreen"});
    env.push_back({"XDG_RUNTIME_DIR", runtime_dir_.path()});
    return env;
  }
  ProgramResult Sync(const std::string& argument, const std::string& cwd = "",
                     const Environment& extra = {}) const {
    Environment env = Env();
    env.insert(env.end(), extra.begin(), extra.end());
    return RunProgram(TYPROSYNC_PROGRAM, {argument}, env, cwd);
  }
  std::string Mark(const std::string& order, const std::string& field) const {
    return admin_.Mark(order, field);
  }
  const std::string& folder() const { return admin_.folder(); }

  TestAdministratie admin_{TYPROSYNC_ADMIN_TOOL};
  Receivers receivers_;
  TempDir runtime_dir_;
};

}  // namespace typrosync::test_support

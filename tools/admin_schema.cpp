#include "admin_schema.h"

#include <filesystem>

#include "common/vb_error.h"
#include "database/administratie_tables.h"

namespace typrosync::admin {
namespace {

TableDefinition Ordergegevens() {
  return {"Ordergegevens",
          {{"RelnrOrderdatumRegNrIndex", "TEXT"},
           {"RelNr", "INTEGER"},
           {"OrderNr", "INTEGER"},
           {"RegNr", "INTEGER"},
           {"OrderDatum", "TEXT"},
           {"LeverDatum", "TEXT"},
           {"MagazijnBonNr", "TEXT"},
           {"ArtNr", "TEXT"},
           {"Omschrijving1", "TEXT"},
           {"Omschrijving2", "TEXT"},
           {"Aantal", "DOUBLE"},
           {"PrijsPer", "DOUBLE"},
           {"VerkoopPrijs", "CURRENCY"},
           {"FactuurGewicht", "DOUBLE"},
           {"KortingPercentage", "DOUBLE"},
           {"Referentie", "TEXT"},
           {"ArtikelGewicht", "DOUBLE"},
           {"SILOnaam", "TEXT"},
           {"Artikelgroep", "INTEGER"}},
          {{"PrimaryKey", {"RelnrOrderdatumRegNrIndex"}, false},
           {"RelNr", {"RelNr"}, false},
           {"RelnrOrderdatumRegNrIndex", {"RelnrOrderdatumRegNrIndex"}, false},
           {"OrderNr", {"OrderNr"}, false}}};
}

TableDefinition OrderGegevensMeta() {
  return {
      "OrderGegevensMeta",
      {{"OrderNr", "INTEGER"}, {"LeveringNaarAgroVision", "TEXT"}, {"LeveringNaarDacom", "TEXT"}},
      {{"PrimaryKey", {"OrderNr"}, true}}};
}

TableDefinition RelatieGegevens() {
  return {"RelatieGegevens",
          {{"RelNr", "INTEGER"},
           {"bedrijfsnaam1", "TEXT"},
           {"Bedrijfsnaam2", "TEXT"},
           {"BedrijfsAdres", "TEXT"},
           {"Bedrijfshuisnr", "TEXT"},
           {"BedrijfsPostcode", "TEXT"},
           {"BedrijfsWoonplaats", "TEXT"},
           {"BedrijfsLandCode", "INTEGER"},
           {"UBNNummer", "TEXT"},
           {"Relatiegroep", "TEXT"}},
          {{"PrimaryKey", {"RelNr"}, true}}};
}

TableDefinition Artikelen() {
  return {"Artikelen",
          {{"Artikelnummer", "TEXT"},
           {"Omschrijving", "TEXT"},
           {"ToelatingsNummer", "TEXT"},
           {"StandaardAantal", "DOUBLE"},
           {"GewichtCategorie", "DOUBLE"}},
          {{"PrimaryKey", {"Artikelnummer"}, true}}};
}

TableDefinition UserGegevens() {
  return {"UserGegevens",
          {{"Naam", "TEXT"},
           {"Adres", "TEXT"},
           {"Huisnummer", "TEXT"},
           {"Postcode", "TEXT"},
           {"Woonplaats", "TEXT"},
           {"TelefoonNr", "TEXT"},
           {"Email", "TEXT"},
           {"WebSite", "TEXT"},
           {"BTWNr", "TEXT"}},
          {}};
}

// Code tables: a whole-number code and its description.
TableDefinition CodeTable(const std::string& name) {
  return {name, {{"Code", "INTEGER"}, {"Omschrijving", "TEXT"}}, {{"PrimaryKey", {"Code"}, true}}};
}

// Tables the sync opens but does not read.
TableDefinition PlaceholderTable(const std::string& name) {
  return {name, {{"ID", "INTEGER"}, {"Omschrijving", "TEXT"}}, {{"PrimaryKey", {"ID"}, true}}};
}

void WriteFile(const std::string& path, TableSource source, const std::string& password,
               const Filler& fill) {
  AdministrationWriter writer(path);
  writer.Begin();
  std::vector<TableDefinition> definitions;
  for (const AdministratieTable& table : AdministratieTables()) {
    if (table.source != source) continue;
    definitions.push_back(DefinitionOf(std::string(table.name)));
    writer.CreateTable(definitions.back());
  }
  if (fill) fill(writer);
  for (const TableDefinition& definition : definitions) writer.CreateIndexes(definition);
  writer.SetPassword(password);
  writer.Commit();
}

}  // namespace

TableDefinition DefinitionOf(const std::string& table) {
  if (table == "Ordergegevens") return Ordergegevens();
  if (table == "OrderGegevensMeta") return OrderGegevensMeta();
  if (table == "RelatieGegevens") return RelatieGegevens();
  if (table == "Artikelen") return Artikelen();
  if (table == "UserGegevens") return UserGegevens();
  if (table.starts_with("Tabel")) return CodeTable(table);
  return PlaceholderTable(table);
}

std::string WithSeparator(const std::string& dir) { return dir.ends_with("/") ? dir : dir + "/"; }

void CreateAdministration(const std::string& dir, const std::string& password, const Filler& fill) {
  std::filesystem::create_directories(dir);
  const std::string folder = WithSeparator(dir);
  for (const char* name : {"TallyraDB.mdb", "Archief.mdb"}) {
    if (std::filesystem::exists(folder + name)) {
      throw VbError(58, "Het bestand " + folder + name + " bestaat al");
    }
  }
  WriteFile(folder + "TallyraDB.mdb", TableSource::kAdministratie, password, fill);
  WriteFile(folder + "Archief.mdb", TableSource::kArchief, password, nullptr);
}

}  // namespace typrosync::admin

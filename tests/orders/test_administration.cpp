#include "orders/test_administration.h"

#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <fstream>
#include <stdexcept>

namespace typrosync::testing {
namespace {

// A pending line; `Order` adds a key of its own.
// clang-format off
const Fields kRegel = {
    {"RelNr", "1001"}, {"OrderNr", "5001"}, {"OrderDatum", "20240105"}, {"LeverDatum", "20240110"},
    {"MagazijnBonNr", "MB1"}, {"ArtNr", "A1"}, {"Omschrijving1", "Middel"}, {"Omschrijving2", "5 l"},
    {"Aantal", 10}, {"PrijsPer", 1}, {"VerkoopPrijs", 2.5}, {"FactuurGewicht", 0},
    {"KortingPercentage", 0}};
// clang-format on

// The value as an SQL literal; the test data holds no quotes.
std::string Literal(const Variant& value) {
  if (value.IsNull() || value.IsEmptyKind()) return "NULL";
  if (value.kind() == Variant::Kind::kText) return "'" + value.Text() + "'";
  return std::to_string(value.ToDouble());
}

std::filesystem::path MaakMap() {
  std::string pattern = (std::filesystem::temp_directory_path() / "typro-run-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
  return pattern;
}

}  // namespace

TestAdministratie::TestAdministratie() : folder_(MaakMap()) {
  if (RunProgram(std::string(TYPROSYNC_ADMIN) + " create " + folder_.string()) != 0)
    throw std::runtime_error("typrosync-admin create failed");
}

TestAdministratie::~TestAdministratie() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void TestAdministratie::Sql(const std::string& sql, std::vector<std::string>* row) const {
  sqlite3* db = nullptr;
  sqlite3_open((folder_ / "TallyraDB.mdb").c_str(), &db);
  sqlite3_busy_timeout(db, 5000);
  auto first_row = [](void* out, int n, char** values, char**) {
    auto* first = static_cast<std::vector<std::string>*>(out);
    if (first != nullptr && first->empty())
      for (int i = 0; i < n; ++i) first->push_back(values[i] == nullptr ? "" : values[i]);
    return 0;
  };
  const int rc = sqlite3_exec(db, sql.c_str(), first_row, row, nullptr);
  const std::string message = sqlite3_errmsg(db);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw std::runtime_error(message + " in " + sql);
}

void TestAdministratie::Insert(const std::string& table, const Fields& row) {
  std::string names, values;
  for (const auto& [name, value] : row) {
    names += (names.empty() ? "\"" : ", \"") + name + "\"";
    values += (values.empty() ? "" : ", ") + Literal(value);
  }
  Sql("INSERT INTO \"" + table + "\" (" + names + ") VALUES (" + values + ")");
}

void TestAdministratie::Relatie(const std::string& relnr, const std::string& groep,
                                const std::string& naam, const std::string& woonplaats) {
  Sql("INSERT INTO RelatieGegevens (RelNr, bedrijfsnaam1, BedrijfsWoonplaats, Relatiegroep) "
      "VALUES ('" +
      relnr + "', '" + naam + "', '" + woonplaats + "', '" + groep + "')");
}

std::string TestAdministratie::Order(const Fields& changes) {
  Fields row = kRegel;
  row.emplace_back("RelnrOrderdatumRegNrIndex", "k" + std::to_string(++regels_));
  for (const auto& [name, value] : changes)
    for (auto& field : row)
      if (field.first == name) field.second = value;
  Insert("Ordergegevens", row);
  return row.back().second.Text();
}

void TestAdministratie::Meta(const std::string& ordernr, const Variant& agrovision,
                             const Variant& dacom) {
  Sql("INSERT INTO OrderGegevensMeta VALUES (" + ordernr + ", " + Literal(agrovision) + ", " +
      Literal(dacom) + ")");
}

std::optional<Marks> TestAdministratie::MarksOf(const std::string& ordernr) const {
  std::vector<std::string> row;
  Sql("SELECT * FROM OrderGegevensMeta WHERE OrderNr = " + ordernr, &row);
  if (row.empty()) return std::nullopt;
  return Marks(row[1], row[2]);  // after OrderNr: LeveringNaarAgroVision, LeveringNaarDacom
}

std::string TestAdministratie::Log(const std::string& maand) const {
  return ReadFile(folder_ / ("typrosync-" + maand + ".log"));
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

int RunProgram(const std::string& command, std::string* output) {
  std::filesystem::current_path("/");  // a run may have left us in a removed data folder
  FILE* pipe = popen(
      ("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + command + " 2>&1").c_str(), "r");
  std::string text;
  char buffer[4096];
  while (size_t got = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, got);
  const int status = pclose(pipe);
  if (output != nullptr) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace typrosync::testing

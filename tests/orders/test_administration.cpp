#include "orders/test_administration.h"

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace typrosync::testing {
namespace {

class Connection {
 public:
  explicit Connection(const std::filesystem::path& file) {
    if (sqlite3_open(file.c_str(), &db_) != SQLITE_OK) throw std::runtime_error("open");
    sqlite3_busy_timeout(db_, 5000);
  }
  ~Connection() { sqlite3_close(db_); }
  sqlite3* get() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

void Check(int rc, sqlite3* db, int expected = SQLITE_OK) {
  if (rc != expected) throw std::runtime_error(sqlite3_errmsg(db));
}

void Bind(sqlite3_stmt* stmt, int index, const Variant& value) {
  switch (value.kind()) {
    case Variant::Kind::kEmpty:
    case Variant::Kind::kNull:
      sqlite3_bind_null(stmt, index);
      break;
    case Variant::Kind::kInteger:
      sqlite3_bind_int64(stmt, index, static_cast<sqlite3_int64>(value.ToDouble()));
      break;
    case Variant::Kind::kDouble:
    case Variant::Kind::kCurrency:
    case Variant::Kind::kBoolean:
      sqlite3_bind_double(stmt, index, value.ToDouble());
      break;
    case Variant::Kind::kText: {
      const std::string text = value.Text();
      sqlite3_bind_text(stmt, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      break;
    }
  }
}

std::string Quote(const std::string& name) { return "\"" + name + "\""; }

std::filesystem::path MaakMap() {
  std::string pattern = (std::filesystem::temp_directory_path() / "typro-run-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
  return pattern;
}

}  // namespace

TestAdministratie::TestAdministratie() : folder_(MaakMap()) {
  const int status = RunProgram(TYPROSYNC_ADMIN, {"create", folder_.string()});
  if (status != 0) throw std::runtime_error("typrosync-admin create failed");
}

TestAdministratie::~TestAdministratie() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void TestAdministratie::Insert(const std::string& table,
                               const std::vector<std::pair<std::string, Variant>>& row) {
  Connection db(folder_ / "TallyraDB.mdb");
  std::string names;
  std::string marks;
  for (const auto& [name, value] : row) {
    names += (names.empty() ? "" : ", ") + Quote(name);
    marks += marks.empty() ? "?" : ", ?";
  }
  const std::string sql = "INSERT INTO " + Quote(table) + " (" + names + ") VALUES (" + marks + ")";
  sqlite3_stmt* stmt = nullptr;
  Check(sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &stmt, nullptr), db.get());
  for (size_t i = 0; i < row.size(); ++i) Bind(stmt, static_cast<int>(i + 1), row[i].second);
  const int rc = sqlite3_step(stmt);
  sqlite3_finalize(stmt);
  Check(rc, db.get(), SQLITE_DONE);
}

void TestAdministratie::Artikel(const std::string& artnr, const Variant& toelating) {
  Insert("Artikelen", {{"Artikelnummer", artnr}, {"ToelatingsNummer", toelating}});
}

void TestAdministratie::Groep(int code, const std::string& omschrijving) {
  Insert("TabelRelatiegroepen", {{"Code", code}, {"Omschrijving", omschrijving}});
}

void TestAdministratie::Relatie(const std::string& relnr, const std::string& naam,
                                const std::string& groep, const std::string& woonplaats) {
  Insert("RelatieGegevens", {{"RelNr", relnr},
                             {"bedrijfsnaam1", naam},
                             {"BedrijfsWoonplaats", woonplaats},
                             {"Relatiegroep", groep}});
}

std::string TestAdministratie::Order(OrderRegel r) {
  if (r.sleutel.empty()) {
    r.sleutel = r.relnr.Text() + "|" + r.orderdatum.Text() + "|" + std::to_string(++regels_);
  }
  Insert("Ordergegevens", {{"RelNr", r.relnr},
                           {"OrderNr", r.ordernr},
                           {"OrderDatum", r.orderdatum},
                           {"LeverDatum", r.leverdatum},
                           {"MagazijnBonNr", r.magazijnbon},
                           {"ArtNr", r.artnr},
                           {"Omschrijving1", r.omschrijving1},
                           {"Omschrijving2", r.omschrijving2},
                           {"Aantal", r.aantal},
                           {"PrijsPer", r.prijs_per},
                           {"VerkoopPrijs", r.verkoop_prijs},
                           {"FactuurGewicht", r.factuur_gewicht},
                           {"KortingPercentage", r.korting},
                           {"RelnrOrderdatumRegNrIndex", r.sleutel}});
  return r.sleutel;
}

void TestAdministratie::Meta(const std::string& ordernr, const Variant& agrovision,
                             const Variant& dacom) {
  Insert(
      "OrderGegevensMeta",
      {{"OrderNr", ordernr}, {"LeveringNaarAgroVision", agrovision}, {"LeveringNaarDacom", dacom}});
}

void TestAdministratie::Gebruiker(const std::string& naam) {
  Insert("UserGegevens", {{"Naam", naam}});
}

std::optional<std::pair<std::string, std::string>> TestAdministratie::Marks(
    const std::string& ordernr) const {
  Connection db(folder_ / "TallyraDB.mdb");
  sqlite3_stmt* stmt = nullptr;
  Check(sqlite3_prepare_v2(db.get(),
                           "SELECT LeveringNaarAgroVision, LeveringNaarDacom FROM "
                           "OrderGegevensMeta WHERE CAST(OrderNr AS TEXT) = ?",
                           -1, &stmt, nullptr),
        db.get());
  sqlite3_bind_text(stmt, 1, ordernr.c_str(), -1, SQLITE_TRANSIENT);
  std::optional<std::pair<std::string, std::string>> marks;
  if (sqlite3_step(stmt) == SQLITE_ROW) {
    auto text = [stmt](int column) {
      const unsigned char* value = sqlite3_column_text(stmt, column);
      return value == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(value));
    };
    marks = std::make_pair(text(0), text(1));
  }
  sqlite3_finalize(stmt);
  return marks;
}

std::string TestAdministratie::Log(const std::string& maand) const {
  std::ifstream file(folder_ / ("typrosync-" + maand + ".log"), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

int RunProgram(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment, std::string* output,
               std::string* errors) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return -1;
  // Standard error goes to a file so that two pipes never block each other.
  std::FILE* error_file = std::tmpfile();
  if (error_file == nullptr) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipe_fds[1], STDOUT_FILENO);
    dup2(fileno(error_file), STDERR_FILENO);
    close(pipe_fds[0]);
    close(pipe_fds[1]);
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) unsetenv(name);
    for (const std::string& setting : environment) putenv(const_cast<char*>(setting.c_str()));
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipe_fds[1]);
  std::string collected;
  char buffer[4096];
  ssize_t n;
  while ((n = read(pipe_fds[0], buffer, sizeof buffer)) > 0)
    collected.append(buffer, static_cast<size_t>(n));
  close(pipe_fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (output != nullptr) *output = collected;
  std::rewind(error_file);
  std::string error_text;
  while (size_t got = std::fread(buffer, 1, sizeof buffer, error_file))
    error_text.append(buffer, got);
  std::fclose(error_file);
  if (errors != nullptr) *errors = error_text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace typrosync::testing

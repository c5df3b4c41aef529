#include "database/administratie.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "common/file_helpers.h"
#include "database/administratie_tables.h"
#include "database/database_errors.h"
#include "database/name_index.h"

namespace typrosync {
namespace {

class OpenedAdministration final : public Administratie {
 public:
  OpenedAdministration(std::unique_ptr<Database> administratie, std::unique_ptr<Database> archief)
      : administratie_(std::move(administratie)), archief_(std::move(archief)) {}

  TableRecordset& Table(std::string_view name) override {
    const int position = positions_.Find(name);
    if (position < 0) throw database_errors::ItemNotFound(std::string(name));
    return *tables_[position];
  }
  Database& dbAdministratie() override { return *administratie_; }
  Database& dbArchief() override { return *archief_; }

  void AddTable(std::string_view name, std::unique_ptr<TableRecordset> table) {
    positions_.Add(name, static_cast<int>(tables_.size()));
    tables_.push_back(std::move(table));
  }

 private:
  std::unique_ptr<Database> administratie_;
  std::unique_ptr<Database> archief_;
  std::vector<std::unique_ptr<TableRecordset>> tables_;
  NameIndex positions_;
};

// The first line of an existing settings file, as text input reads it (up
// to CR, LF or CR LF). A file without any line cannot be read: error 62.
std::string ReadFirstLine(const std::string& path) {
  std::ifstream file(PathFromUtf8(path), std::ios::binary);
  if (!file) throw VbError(53, "Bestand niet gevonden");
  std::string line;
  char c = 0;
  bool any = false;
  while (file.get(c)) {
    any = true;
    if (c == '\r' || c == '\n') break;
    line.push_back(c);
  }
  if (!any) throw VbError(62, "Invoer voorbij einde van bestand");
  return line;
}

// The first line of sDataMap & name when that file exists.
std::optional<std::string> ReadSettingsFile(const std::string& sDataMap, const char* name) {
  std::string path = sDataMap + name;
  std::string probe = path;
  if (!BestaatBestand(probe)) return std::nullopt;
  return ReadFirstLine(path);
}

std::string LowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The data folder as an absolute path ending in a separator, so that every file is
// opened by its full name and the working folder never matters or changes.
std::string AbsoluteFolder(const std::string& sDataMap) {
  std::error_code ignored;
  std::string folder = std::filesystem::absolute(sDataMap, ignored).string();
  if (folder.empty()) return sDataMap;
  return WithFinalSlash(folder);
}

// Runs `step` on database file `path`; an error whose text does not name
// the file gets the name added, so the one diagnostic line says which file.
template <typename Step>
auto NamingFile(const std::string& path, Step step) {
  try {
    return step();
  } catch (const VbError& error) {
    if (error.description().find(path) != std::string::npos) throw;
    throw VbError(error.number(), error.description() + " (bestand '" + path + "')");
  }
}

void OpenTables(OpenedAdministration& administratie, bool bLockEdits,
                const std::string& tallyra_path, const std::string& archief_path) {
  for (const AdministratieTable& table : AdministratieTables()) {
    const bool archief = table.source == TableSource::kArchief;
    Database& db = archief ? administratie.dbArchief() : administratie.dbAdministratie();
    std::unique_ptr<TableRecordset> recordset = NamingFile(
        archief ? archief_path : tallyra_path, [&] { return db.OpenTable(std::string(table.name)); });
    // The others keep the engine's pessimistic default.
    if (table.takes_lock_flag) recordset->SetLockEdits(bLockEdits);
    administratie.AddTable(table.name, std::move(recordset));
  }
}

std::unique_ptr<Administratie> Open(const std::string& sDataMapArg, DatabaseEngine& engine,
                                    UserInterface& ui) {
  const std::string sDataMap = AbsoluteFolder(sDataMapArg);
  std::string password;
  if (std::optional<std::string> line = ReadSettingsFile(sDataMap, "tallyra.pwd")) {
    ui.ProcessPendingEvents();
    password = DecodeerWachtwoord(*line);
  }
  bool bLockEdits = true;
  if (std::optional<std::string> line = ReadSettingsFile(sDataMap, "tallyra.lock")) {
    if (LowerCase(*line) == "false") bLockEdits = false;
    ui.ProcessPendingEvents();
  }
  const std::string tallyra_path = sDataMap + "TallyraDB.mdb";
  const std::string archief_path = sDataMap + "Archief.mdb";
  // Sets the file up for several users before the databases are opened.
  NamingFile(tallyra_path, [&] { engine.PrepareSharedUse(tallyra_path, password); });

  std::unique_ptr<Database> tallyra =
      NamingFile(tallyra_path, [&] { return engine.OpenDatabase(tallyra_path, password); });
  std::unique_ptr<Database> archief =
      NamingFile(archief_path, [&] { return engine.OpenDatabase(archief_path, password); });
  auto administratie =
      std::make_unique<OpenedAdministration>(std::move(tallyra), std::move(archief));
  OpenTables(*administratie, bLockEdits, tallyra_path, archief_path);
  return administratie;
}

}  // namespace

std::unique_ptr<Administratie> OpenAdministratie(const std::string& sDataMap,
                                                 DatabaseEngine& engine, UserInterface& ui,
                                                 std::string* failure) {
  if (sDataMap.empty()) return nullptr;
  try {
    return Open(sDataMap, engine, ui);
  } catch (const std::exception& error) {
    if (failure != nullptr) *failure = error.what();
    return nullptr;
  }
}

std::string DecodeerWachtwoord(const std::string& s) {
  std::string decoded;
  decoded.reserve(s.size());
  for (char c : s) {
    const double half = static_cast<unsigned char>(c) / 2.0;
    decoded.push_back(static_cast<char>(static_cast<int>(std::nearbyint(half))));
  }
  return std::string(decoded.rbegin(), decoded.rend());
}

}  // namespace typrosync

#pragma once
// A real administration in a temporary folder for the order and run tests:
// made by `typrosync-admin create`, filled with rows written through SQLite
// as any other client of the files would write them.

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/variant.h"

namespace typrosync::testing {

using Fields = std::vector<std::pair<std::string, Variant>>;
using Marks = std::pair<std::string, std::string>;  // AgroVision, Crop-R; "" for Null

class TestAdministratie {
 public:
  TestAdministratie();  // a fresh temporary folder per instance
  ~TestAdministratie();
  TestAdministratie(const TestAdministratie&) = delete;
  TestAdministratie& operator=(const TestAdministratie&) = delete;

  std::string DataMap() const { return folder_.string() + "/"; }

  void Insert(const std::string& table, const Fields& row);
  void Artikel(const std::string& artnr, const Variant& toelating) {
    Insert("Artikelen", {{"Artikelnummer", artnr}, {"ToelatingsNummer", toelating}});
  }
  void Relatie(const std::string& relnr, const std::string& groep, const std::string& naam = "Boer",
               const std::string& woonplaats = "Emmen");
  // A pending line of customer 1001, order 5001, article A1 (10 at 2,50),
  // with `changes` applied; returns its key.
  std::string Order(const Fields& changes = {});
  void Meta(const std::string& ordernr, const Variant& agrovision = Variant::Null(),
            const Variant& dacom = Variant::Null());
  std::optional<Marks> MarksOf(const std::string& ordernr) const;  // nullopt without a record
  std::string Log(const std::string& maand) const;                 // "" when the month has no log

 private:
  // Runs `sql`; the first result row's values ("" for Null) go to `row`.
  void Sql(const std::string& sql, std::vector<std::string>* row = nullptr) const;

  std::filesystem::path folder_;
  int regels_ = 0;
};

std::string ReadFile(const std::filesystem::path& path);

// Runs a shell command line without a display (DISPLAY, WAYLAND_DISPLAY and
// QT_QPA_PLATFORM removed): its exit status, -1 when it did not exit, and
// its standard output and error together in `output`.
int RunProgram(const std::string& command, std::string* output = nullptr);

}  // namespace typrosync::testing

#pragma once
// A real administration in a temporary folder for the order and run tests:
// made by `typrosync-admin create`, filled with rows written through SQLite
// as any other client of the files would write them.

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/clock.h"
#include "common/variant.h"

namespace typrosync::testing {

// One order line; the defaults make a pending line of article "A1".
struct OrderRegel {
  Variant relnr = "1001";
  Variant ordernr = "5001";
  Variant orderdatum = "20240105";
  Variant leverdatum = "20240110";
  Variant magazijnbon = "MB1";
  Variant artnr = "A1";
  Variant omschrijving1 = "Middel";
  Variant omschrijving2 = "5 l";
  Variant aantal = 10;
  Variant prijs_per = 1;
  Variant verkoop_prijs = 2.5;
  Variant factuur_gewicht = 0;
  Variant korting = 0;
  std::string sleutel;  // RelnrOrderdatumRegNrIndex; made up when empty
};

class TestAdministratie {
 public:
  // Creates the administration (a fresh temporary folder per instance).
  TestAdministratie();
  ~TestAdministratie();
  TestAdministratie(const TestAdministratie&) = delete;
  TestAdministratie& operator=(const TestAdministratie&) = delete;

  // The data folder with a final "/".
  std::string DataMap() const { return folder_.string() + "/"; }
  const std::filesystem::path& folder() const { return folder_; }

  void Insert(const std::string& table, const std::vector<std::pair<std::string, Variant>>& row);
  void Artikel(const std::string& artnr, const Variant& toelating);
  void Groep(int code, const std::string& omschrijving);
  void Relatie(const std::string& relnr, const std::string& naam, const std::string& groep,
               const std::string& woonplaats = "Emmen");
  // Adds the line; its key is returned.
  std::string Order(OrderRegel regel);
  void Meta(const std::string& ordernr, const Variant& agrovision = Variant::Null(),
            const Variant& dacom = Variant::Null());
  void Gebruiker(const std::string& naam);
  // The two marks of an order, as text ("" for Null); nullopt without a record.
  std::optional<std::pair<std::string, std::string>> Marks(const std::string& ordernr) const;
  // The run log of `maand` ("yyyy-mm"), empty when it does not exist.
  std::string Log(const std::string& maand) const;

 private:
  std::filesystem::path folder_;
  int regels_ = 0;
};

// A clock that stands still until set.
class FakeClock : public Clock {
 public:
  explicit FakeClock(LocalDateTime moment) : moment_(moment) {}
  LocalDateTime Now() override { return moment_; }
  void Set(LocalDateTime moment) { moment_ = moment; }

 private:
  LocalDateTime moment_;
};

// Runs a program with arguments, without a display (DISPLAY, WAYLAND_DISPLAY
// and QT_QPA_PLATFORM removed, then `environment` added). Its exit status,
// or -1 when it did not exit; standard output and error when asked for.
int RunProgram(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment = {}, std::string* output = nullptr,
               std::string* errors = nullptr);

}  // namespace typrosync::testing

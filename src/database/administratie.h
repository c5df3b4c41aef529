#pragma once
// The open administration: both databases and the 159 table-type
// recordsets, opened once per run by OpenAdministratie and kept open until
// the process ends.

#include <memory>
#include <string>
#include <string_view>

#include "common/user_interface.h"
#include "database/engine.h"

namespace typrosync {

class Administratie {
 public:
  virtual ~Administratie() = default;
  // The recordset `rs` & name (one of the 159 tables, name matched without
  // regard to case). Error 3265 for a name that is not one of them.
  virtual TableRecordset& Table(std::string_view name) = 0;
  virtual Database& dbAdministratie() = 0;
  virtual Database& dbArchief() = 0;
};

// Opens "TallyraDB.mdb" and "Archief.mdb" in sDataMap (a folder path ending in
// "/"; a relative folder is taken from the working folder, which is not
// changed), with the password from "tallyra.pwd" and the edit locking from
// "tallyra.lock", and every table in its order. nullptr on any failure, with
// its reason in `failure` when given (left empty without a data folder); it
// shows, logs and prints nothing itself.
std::unique_ptr<Administratie> OpenAdministratie(const std::string& sDataMap,
                                                 DatabaseEngine& engine, UserInterface& ui,
                                                 std::string* failure = nullptr);

// The password hidden in the first line of "tallyra.pwd": every code halved
// (halves to even), then the text reversed.
std::string DecodeerWachtwoord(const std::string& s);

}  // namespace typrosync

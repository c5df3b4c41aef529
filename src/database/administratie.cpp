#include "database/administratie.h"

namespace typrosync {

std::unique_ptr<Administratie> OpenAdministratie(const std::string&, DatabaseEngine&,
                                                 UserInterface&) {
  return nullptr;
}

std::string DecodeerWachtwoord(const std::string& s) { return s; }

}  // namespace typrosync

#include "database/lookups.h"

namespace typrosync {

std::string GetOmschrijvingFromTabel(Database&, const std::string&, const std::string&) {
  return "";
}
bool IsPositieGemarkeerd(int16_t, const std::string&) { return false; }
std::string GetCodeOmschrijving(Database&, const std::string&, int16_t) { return ""; }
std::string GetTabelOmschrijving(TableRecordset&, int16_t) { return ""; }

}  // namespace typrosync

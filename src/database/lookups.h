#pragma once
// Code descriptions: turn whole-number codes and selection strings ("X" at
// position i marks code i) into the texts of a code table (`Omschrijving`
// under the index "PrimaryKey").

#include <cstdint>
#include <string>

#include "database/engine.h"

namespace typrosync {

// The descriptions of every marked code in strTabelNaam, in code order,
// joined by ", " (a missing code adds an empty text). "" when none is marked.
std::string GetOmschrijvingFromTabel(Database& db, const std::string& strTabelNaam,
                                     const std::string& strSelectie);

// True when position lies within selection and holds "X" in either case.
bool IsPositieGemarkeerd(int16_t position, const std::string& selection);

// `Omschrijving` of code in table (its own short-lived recordset); "" for a
// code below 1 or missing. Error 3078 when the table does not exist.
std::string GetCodeOmschrijving(Database& db, const std::string& table, int16_t code);

// As GetCodeOmschrijving on an open recordset, which stays on the found
// record; "(niet ingesteld)" becomes "n/a", an empty table gives "".
std::string GetTabelOmschrijving(TableRecordset& table, int16_t code);

}  // namespace typrosync

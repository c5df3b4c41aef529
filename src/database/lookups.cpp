#include "database/lookups.h"

namespace typrosync {

std::string GetOmschrijvingFromTabel(Database& db, const std::string& strTabelNaam,
                                     const std::string& strSelectie) {
  std::string result;
  // Positions are 16-bit codes; a longer selection has no codes beyond them.
  const int16_t length = static_cast<int16_t>(std::min<size_t>(strSelectie.size(), INT16_MAX));
  for (int16_t i = 1; i <= length; ++i) {
    if (IsPositieGemarkeerd(i, strSelectie))
      result += GetCodeOmschrijving(db, strTabelNaam, i) + ", ";
  }
  if (result.ends_with(", ")) result.resize(result.size() - 2);
  return result;
}

bool IsPositieGemarkeerd(int16_t position, const std::string& selection) {
  if (position < 1 || static_cast<size_t>(position) > selection.size()) return false;
  const char c = selection[position - 1];
  return c == 'X' || c == 'x';
}

std::string GetCodeOmschrijving(Database& db, const std::string& table, int16_t code) {
  if (code <= 0) return "";
  // A table of its own per code: the caller's open tables keep their position.
  std::unique_ptr<TableRecordset> recordset = db.OpenTable(table);
  recordset->SetIndex("PrimaryKey");
  recordset->Seek(Variant(static_cast<int>(code)));
  if (recordset->NoMatch()) return "";
  return recordset->Field("Omschrijving").Text();
}

std::string GetTabelOmschrijving(TableRecordset& table, int16_t code) {
  if (code <= 0 || table.RecordCount() == 0) return "";
  table.SetIndex("PrimaryKey");
  // The table may stand anywhere after an earlier seek; a seek starts clean.
  table.MoveFirst();
  table.Seek(Variant(static_cast<int>(code)));
  if (table.NoMatch()) return "";
  const std::string text = table.Field("Omschrijving").Text();
  // The administration's placeholder for "not set" is never sent as a name.
  return text == "(niet ingesteld)" ? "n/a" : text;
}

}  // namespace typrosync

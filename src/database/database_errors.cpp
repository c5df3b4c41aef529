#include "database/database_errors.h"

namespace typrosync::database_errors {

// The numbers are those the administration's own database engine gives the
// same faults, so a line in the run log means what its users know it to mean.
VbError FileNotFound(const std::string& path) {
  return VbError(3024, "Kan het bestand '" + path + "' niet vinden");
}
VbError NotADatabase(const std::string& path) {
  return VbError(3343, "Onbekende database-indeling '" + path + "'");
}
VbError JetDatabase(const std::string& path) {
  return VbError(3343, "'" + path + "' is een Jet-database; alleen SQLite 3-bestanden kunnen " +
                           "worden geopend");
}
VbError IncompleteDatabase(const std::string& path) {
  return VbError(3343, "'" + path + "' is leeg of onvolledig; het is geen volledige database");
}
VbError NotWritable(const std::string& path, const std::string& reason) {
  return VbError(3051, "Kan het bestand '" + path + "' niet openen om te schrijven: " + reason);
}
VbError WrongPassword() { return VbError(3031, "Ongeldig wachtwoord"); }
VbError TableNotFound(const std::string& table) {
  return VbError(3078, "De tabel '" + table + "' is niet gevonden");
}
VbError ItemNotFound(const std::string& name) {
  return VbError(3265, "Het item '" + name + "' is niet gevonden in deze verzameling");
}
VbError NoSuchIndex(const std::string& index) {
  return VbError(3800, "'" + index + "' is geen index in deze tabel");
}
VbError NoCurrentIndex() { return VbError(3019, "Bewerking is ongeldig zonder een huidige index"); }
VbError NoCurrentRecord() { return VbError(3021, "Er is geen huidige record"); }
VbError UpdateWithoutEdit() {
  return VbError(3020, "Bijwerken of annuleren zonder toevoegen of bewerken");
}
VbError RecordDeleted() { return VbError(3167, "De record is verwijderd"); }
VbError ChangedByAnotherUser() {
  return VbError(3197,
                 "De gegevens zijn sinds het begin van de bewerking door een andere "
                 "gebruiker gewijzigd");
}
VbError RecordLocked() {
  return VbError(3260, "Kan niet bijwerken; de record is vergrendeld door een andere gebruiker");
}
// Anything the engine reports that has no number of its own.
VbError EngineFailure(const std::string& detail) {
  return VbError(3000, "Databasefout: " + detail);
}
VbError SourceNotOpened(const std::string& source, const std::string& detail) {
  return VbError(3151, "ODBC-verbinding met '" + source + "' mislukt: " + detail);
}
VbError ReadOnlySource(const std::string& detail) {
  return VbError(3027, "Kan niet bijwerken. Database of object is alleen-lezen: " + detail);
}

}  // namespace typrosync::database_errors

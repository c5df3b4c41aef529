#include "database/sqlite_administration_writer.h"

#include <sqlite3.h>

#include <filesystem>

#include "database/database_errors.h"
#include "database/sqlite_password.h"
#include "database/sqlite_table_schema.h"
#include "database/sqlite_values.h"

namespace typrosync {
namespace {

// Text fields compare without regard to case, also for other SQLite clients.
std::string ColumnDefinition(const FieldDefinition& field) {
  std::string definition = QuoteIdentifier(field.name) + " " + field.type;
  if (field.type == "TEXT") definition += " COLLATE NOCASE";
  return definition;
}

}  // namespace

AdministrationWriter::AdministrationWriter(const std::string& path) {
  if (std::filesystem::exists(path)) {
    throw database_errors::EngineFailure(path + " bestaat al");
  }
  connection_ = SqliteConnection::Create(path);
  // A new file needs no crash safety until it is finished: write it once,
  // without a journal on disk, and switch to WAL for shared use at the end.
  connection_->Exec("PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF; PRAGMA cache_size=-65536");
}

AdministrationWriter::~AdministrationWriter() {
  try {
    connection_->Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL");
  } catch (const std::exception&) {
    // The file stays readable; opening it for the sync sets WAL again.
  }
}

void AdministrationWriter::CreateTable(const TableDefinition& table) {
  std::string sql = "CREATE TABLE " + QuoteIdentifier(table.name) + " (";
  for (size_t i = 0; i < table.fields.size(); ++i) {
    sql += (i ? ", " : "") + ColumnDefinition(table.fields[i]);
  }
  connection_->Exec(sql + ")");
}

void AdministrationWriter::CreateIndexes(const TableDefinition& table) {
  for (const IndexDefinition& index : table.indexes) {
    std::string sql = std::string(index.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                      QuoteIdentifier(table.name + "__" + index.name) + " ON " +
                      QuoteIdentifier(table.name) + " (";
    for (size_t i = 0; i < index.fields.size(); ++i) {
      sql += (i ? ", " : "") + QuoteIdentifier(index.fields[i]) + " COLLATE NOCASE";
    }
    connection_->Exec(sql + ")");
  }
}

void AdministrationWriter::SetPassword(const std::string& password) {
  StorePassword(*connection_, password);
}

void AdministrationWriter::Begin() { connection_->Exec("BEGIN"); }
void AdministrationWriter::Commit() { connection_->Exec("COMMIT"); }

AdministrationWriter::RowInserter AdministrationWriter::Inserter(
    const std::string& table, const std::vector<std::string>& fields) {
  return RowInserter(connection_, table, fields);
}

AdministrationWriter::RowInserter::RowInserter(std::shared_ptr<SqliteConnection> connection,
                                               const std::string& table,
                                               const std::vector<std::string>& fields)
    : connection_(std::move(connection)) {
  std::string names;
  std::string parameters;
  for (size_t i = 0; i < fields.size(); ++i) {
    names += (i ? ", " : "") + QuoteIdentifier(fields[i]);
    parameters += (i ? ", ?" : "?");
  }
  insert_ = connection_->Prepare("INSERT INTO " + QuoteIdentifier(table) + " (" + names +
                                 ") VALUES (" + parameters + ")");
}

void AdministrationWriter::RowInserter::Insert(const std::vector<Variant>& values) {
  sqlite3_stmt* stmt = insert_.get();
  sqlite3_reset(stmt);
  for (size_t i = 0; i < values.size(); ++i) {
    connection_->Check(BindVariant(stmt, static_cast<int>(i) + 1, values[i]));
  }
  connection_->Step(stmt);
}

}  // namespace typrosync

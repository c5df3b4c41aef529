#include "database/odbc_table_schema.h"

#include <algorithm>
#include <map>

namespace typrosync {
namespace {

void ReadColumns(OdbcConnection& connection, OdbcTableSchema& schema) {
  auto statement = connection.NewStatement();
  const std::string sql = "SELECT * FROM " + connection.Quote(schema.name);
  // A driver with a catalog describes a prepared statement; a simpler one
  // only a result it has produced.
  if (connection.traits().catalog) {
    statement->Prepare(sql);
  } else {
    statement->ExecuteDirect(sql);
  }
  const int count = statement->ColumnCount();
  for (int i = 1; i <= count; ++i) {
    const odbc::ColumnDescription description = statement->Describe(i);
    const std::string type_name = connection.traits().catalog ? statement->TypeName(i) : "";
    OdbcColumn column{description.name,
                      KindOfColumn(description, type_name, connection.traits().money_as_decimal),
                      description.size};
    schema.column_positions.Add(column.name, static_cast<int>(schema.columns.size()));
    schema.columns.push_back(std::move(column));
  }
  statement->Close();
}

// Index names are unique per database in some sources, so the SQLite layout
// stores them as "Table__Index"; callers ask by the short name.
std::string IndexName(const OdbcTableSchema& schema, const std::string& stored) {
  const std::string prefix = schema.name + "__";
  if (stored.size() > prefix.size() &&
      EqualsIgnoringCase(std::string_view(stored).substr(0, prefix.size()), prefix)) {
    return stored.substr(prefix.size());
  }
  return stored;
}

void ReadIndexes(OdbcConnection& connection, OdbcTableSchema& schema) {
  auto statement = connection.NewStatement();
  statement->Statistics(schema.name);
  // Per stored index: key position -> field position (-1: not a field).
  std::map<std::string, std::map<int, int>> keys;
  while (statement->Fetch()) {
    const std::optional<std::string> index = statement->GetText(6);
    const std::optional<std::string> ordinal = statement->GetText(8);
    const std::optional<std::string> field = statement->GetText(9);
    if (!index || !ordinal) continue;  // the table's statistics row
    keys[*index][std::stoi(*ordinal)] = field ? schema.column_positions.Find(*field) : -1;
  }
  for (const auto& [stored, fields] : keys) {
    OdbcIndex index{IndexName(schema, stored), {}};
    for (const auto& [ordinal, position] : fields) index.columns.push_back(position);
    // An index over an expression cannot be walked by field values: left out.
    if (std::find(index.columns.begin(), index.columns.end(), -1) != index.columns.end()) continue;
    schema.indexes.push_back(std::move(index));
  }
}

// Without a catalog every field can be chosen as a one-field index.
void FieldIndexes(OdbcTableSchema& schema) {
  schema.indexes_from_catalog = false;
  for (size_t i = 0; i < schema.columns.size(); ++i) {
    schema.indexes.push_back({schema.columns[i].name, {static_cast<int>(i)}});
  }
}

std::vector<std::string> CatalogColumns(OdbcConnection& connection, odbc::Statement& statement,
                                        int column) {
  std::vector<std::string> names;
  while (statement.Fetch()) {
    if (std::optional<std::string> name = statement.GetText(column)) {
      names.push_back(connection.Quote(*name));
    }
  }
  return names;
}

void ReadIdentity(OdbcConnection& connection, OdbcTableSchema& schema) {
  // SQLite's rowid is also the insertion order, which equal keys keep.
  if (connection.traits().sqlite) {
    schema.identity = {"rowid"};
    return;
  }
  auto statement = connection.NewStatement();
  statement->SpecialColumns(schema.name);
  // The driver's best row identifier first; failing that, the primary key.
  schema.identity = CatalogColumns(connection, *statement, 2);
  if (!schema.identity.empty()) return;
  statement->PrimaryKeys(schema.name);
  schema.identity = CatalogColumns(connection, *statement, 4);
}

}  // namespace

const OdbcIndex* OdbcTableSchema::FindIndex(const std::string& index_name) const {
  for (const OdbcIndex& index : indexes) {
    if (EqualsIgnoringCase(index.name, index_name)) return &index;
  }
  return nullptr;
}

std::optional<OdbcTableSchema> ReadOdbcTableSchema(OdbcConnection& connection,
                                                   const std::string& table) {
  std::optional<std::string> stored = connection.FindTable(table);
  if (!stored) return std::nullopt;
  OdbcTableSchema schema;
  schema.name = *stored;
  return Translated(connection, [&] {
    ReadColumns(connection, schema);
    if (connection.traits().catalog) {
      ReadIndexes(connection, schema);
      ReadIdentity(connection, schema);
    } else {
      FieldIndexes(schema);
    }
    return std::optional<OdbcTableSchema>(std::move(schema));
  });
}

}  // namespace typrosync

#include "database/sqlite_index_queries.h"

namespace typrosync {
namespace {

std::string SelectList(const TableSchema& schema) {
  std::string list = "rowid";
  for (const ColumnInfo& column : schema.columns) list += ", " + QuoteIdentifier(column.name);
  return list;
}

std::string KeyTerm(const TableSchema& schema, int column) {
  return QuoteIdentifier(schema.columns[column].name) + " COLLATE NOCASE";
}

std::string JoinKeyTerms(const TableSchema& schema, const IndexInfo& index) {
  std::string terms;
  for (int column : index.columns) terms += KeyTerm(schema, column) + ", ";
  return terms + "rowid";
}

std::string Parameters(size_t count) {
  std::string list;
  for (size_t i = 1; i <= count; ++i) list += (i > 1 ? ", ?" : "?") + std::to_string(i);
  return list;
}

}  // namespace

IndexQueries MakeIndexQueries(const TableSchema& schema, const IndexInfo* index) {
  const std::string from = " FROM " + QuoteIdentifier(schema.name);
  const std::string select = "SELECT " + SelectList(schema) + from;
  if (index == nullptr) {
    return {select + " ORDER BY rowid", select + " WHERE 0",
            select + " WHERE rowid > ?1 ORDER BY rowid",
            "SELECT count(*)" + from + " WHERE rowid < ?1"};
  }
  const std::string order = " ORDER BY " + JoinKeyTerms(schema, *index);
  const std::string first_key = KeyTerm(schema, index->columns.front());
  const std::string position =
      "(" + JoinKeyTerms(schema, *index) + ") %s (" + Parameters(index->columns.size() + 1) + ")";
  auto with = [&](const char* op) {
    std::string text = position;
    text.replace(text.find("%s"), 2, op);
    return text;
  };
  IndexQueries queries;
  queries.scan = select + order;
  queries.seek = "SELECT " + SelectList(schema) + ", (" + first_key + " = ?1)" + from + " WHERE " +
                 first_key + " >= ?1" + order;
  // The first condition lets SQLite search the index; the row value picks
  // the exact place among equal first keys.
  queries.resume = select + " WHERE " + first_key + " >= ?1 AND " + with(">") + order;
  queries.count_before = "SELECT count(*)" + from + " WHERE " + with("<");
  return queries;
}

std::string RowByIdQuery(const TableSchema& schema) {
  return "SELECT " + SelectList(schema) + " FROM " + QuoteIdentifier(schema.name) +
         " WHERE rowid = ?1";
}

std::string UpdateQuery(const TableSchema& schema, const std::vector<int>& columns) {
  std::string sql = "UPDATE " + QuoteIdentifier(schema.name) + " SET ";
  for (size_t i = 0; i < columns.size(); ++i) {
    sql += (i ? ", " : "") + QuoteIdentifier(schema.columns[columns[i]].name) + " = ?" +
           std::to_string(i + 1);
  }
  return sql + " WHERE rowid = ?" + std::to_string(columns.size() + 1);
}

}  // namespace typrosync

#include "database/odbc_queries.h"

namespace typrosync {
namespace {

std::string SelectList(const OdbcConnection& connection, const OdbcTableSchema& schema) {
  std::string list;
  for (const std::string& term : schema.identity) list += (list.empty() ? "" : ", ") + term;
  for (const OdbcColumn& column : schema.columns) {
    list += (list.empty() ? "" : ", ") + connection.Quote(column.name);
  }
  return list;
}

// A key field as it compares: SQLite needs NOCASE; other sources compare
// text by their own (case-blind, in Jet and most servers) collation.
std::string KeyTerm(const OdbcConnection& connection, const OdbcTableSchema& schema, int column) {
  const std::string name = connection.Quote(schema.columns[column].name);
  return connection.traits().sqlite ? name + " COLLATE NOCASE" : name;
}

std::vector<std::string> OrderTerms(const OdbcConnection& connection,
                                    const OdbcTableSchema& schema, const OdbcIndex* index) {
  std::vector<std::string> terms;
  if (index != nullptr) {
    for (int column : index->columns) terms.push_back(KeyTerm(connection, schema, column));
  }
  terms.insert(terms.end(), schema.identity.begin(), schema.identity.end());
  return terms;
}

std::string Join(const std::vector<std::string>& terms) {
  std::string text;
  for (const std::string& term : terms) text += (text.empty() ? "" : ", ") + term;
  return text;
}

// t1 op ? OR (t1 = ? AND (t2 op ? OR (... tn op ?))): the rows after (">")
// or before ("<") a position, term by term.
std::string Beyond(const std::vector<std::string>& terms, size_t from, const char* op) {
  const std::string compare = terms[from] + " " + op + " ?";
  if (from + 1 == terms.size()) return compare;
  return "(" + compare + " OR (" + terms[from] + " = ? AND " + Beyond(terms, from + 1, op) + "))";
}

std::string IdentityCondition(const OdbcTableSchema& schema) {
  std::string condition;
  for (const std::string& term : schema.identity) {
    condition += (condition.empty() ? "" : " AND ") + term + " = ?";
  }
  return condition;
}

}  // namespace

OdbcOrderQueries MakeOrderQueries(const OdbcConnection& connection, const OdbcTableSchema& schema,
                                  const OdbcIndex* index) {
  const std::vector<std::string> terms = OrderTerms(connection, schema, index);
  const std::string from = " FROM " + connection.Quote(schema.name);
  const std::string select = "SELECT " + SelectList(connection, schema);
  const std::string order = " ORDER BY " + Join(terms);
  OdbcOrderQueries queries;
  queries.terms = terms.size();
  queries.scan = select + from + order;
  queries.count_before = "SELECT COUNT(*)" + from + " WHERE " + Beyond(terms, 0, "<");
  if (index == nullptr) {
    queries.seek = select + ", 0" + from + " WHERE 1 = 0";
    queries.resume = select + from + " WHERE " + terms[0] + " >= ? AND " + Beyond(terms, 0, ">") +
                     order;
    return queries;
  }
  const std::string& first = terms[0];
  queries.seek = select + ", CASE WHEN " + first + " = ? THEN 1 ELSE 0 END" + from + " WHERE " +
                 first + " >= ?" + order;
  // The first condition lets the source search the index; the rest picks
  // the exact place among equal first keys.
  queries.resume =
      select + from + " WHERE " + first + " >= ? AND " + Beyond(terms, 0, ">") + order;
  return queries;
}

std::vector<Variant> PositionParameters(const std::vector<Variant>& terms, bool with_lower_bound) {
  std::vector<Variant> parameters;
  if (with_lower_bound) parameters.push_back(terms[0]);
  for (size_t i = 0; i < terms.size(); ++i) {
    parameters.push_back(terms[i]);
    if (i + 1 < terms.size()) parameters.push_back(terms[i]);
  }
  return parameters;
}

std::string RowByIdentityQuery(const OdbcConnection& connection, const OdbcTableSchema& schema) {
  return "SELECT " + SelectList(connection, schema) + " FROM " + connection.Quote(schema.name) +
         " WHERE " + IdentityCondition(schema);
}

std::string FieldByIdentityQuery(const OdbcConnection& connection, const OdbcTableSchema& schema,
                                 int column) {
  return "SELECT " + connection.Quote(schema.columns[column].name) + " FROM " +
         connection.Quote(schema.name) + " WHERE " + IdentityCondition(schema);
}

std::string UpdateQuery(const OdbcConnection& connection, const OdbcTableSchema& schema,
                        const std::vector<int>& columns) {
  std::string sql = "UPDATE " + connection.Quote(schema.name) + " SET ";
  for (size_t i = 0; i < columns.size(); ++i) {
    sql += (i ? ", " : "") + connection.Quote(schema.columns[columns[i]].name) + " = ?";
  }
  return sql + " WHERE " + IdentityCondition(schema);
}

std::string LockQuery(const OdbcConnection& connection, const OdbcTableSchema& schema) {
  const std::string field = connection.Quote(schema.columns.front().name);
  return "UPDATE " + connection.Quote(schema.name) + " SET " + field + " = " + field + " WHERE " +
         IdentityCondition(schema);
}

std::string CountQuery(const OdbcConnection& connection, const OdbcTableSchema& schema) {
  return "SELECT COUNT(*) FROM " + connection.Quote(schema.name);
}

}  // namespace typrosync

#include "database/odbc_queries.h"

namespace typrosync {
namespace {

std::string SelectList(const OdbcConnection& connection, const OdbcTableSchema& schema,
                       const std::vector<int>& fields) {
  std::string list;
  // The identity comes first in every row, so a row can always be found again.
  for (const std::string& term : schema.identity) list += (list.empty() ? "" : ", ") + term;
  for (int field : fields) {
    list += (list.empty() ? "" : ", ") + connection.Quote(schema.columns[field].name);
  }
  return list;
}

std::vector<int> AllFields(const OdbcTableSchema& schema) {
  std::vector<int> fields(schema.columns.size());
  for (size_t i = 0; i < fields.size(); ++i) fields[i] = static_cast<int>(i);
  return fields;
}

// A key field as it compares: SQLite needs NOCASE; other sources compare
// text by their own (case-blind, in Jet and most servers) collation.
std::string KeyTerm(const OdbcConnection& connection, const OdbcTableSchema& schema, int column) {
  const std::string name = connection.Quote(schema.columns[column].name);
  return connection.traits().sqlite ? name + " COLLATE NOCASE" : name;
}

std::string IdentityCondition(const OdbcTableSchema& schema) {
  std::string condition;
  for (const std::string& term : schema.identity) {
    condition += (condition.empty() ? "" : " AND ") + term + " = ?";
  }
  return condition;
}

}  // namespace

OdbcOrderQueries::OdbcOrderQueries(const OdbcConnection& connection, const OdbcTableSchema& schema,
                                   const OdbcIndex* index, const std::vector<int>& fields)
    : select_("SELECT " + SelectList(connection, schema, fields)),
      from_(" FROM " + connection.Quote(schema.name)),
      keyed_(index != nullptr),
      // Only SQLite is known to take LIMIT with a parameter; others cap by row count.
      limit_(connection.traits().sqlite) {
  if (index != nullptr) {
    for (int column : index->columns) terms_.push_back(KeyTerm(connection, schema, column));
  }
  // The identity ends the order, so equal keys still have one fixed order.
  terms_.insert(terms_.end(), schema.identity.begin(), schema.identity.end());
  for (const std::string& term : terms_) order_ += (order_.empty() ? " ORDER BY " : ", ") + term;
}

std::string OdbcOrderQueries::Bounded(const std::string& where) const {
  return select_ + from_ + where + order_ + (limit_ ? " LIMIT ?" : "");
}

std::string OdbcOrderQueries::First() const { return Bounded(""); }

std::string OdbcOrderQueries::Seek() const {
  if (!keyed_) return select_ + ", 0" + from_ + " WHERE 1 = 0";
  const std::string& first = terms_.front();
  return select_ + ", CASE WHEN " + first + " = ? THEN 1 ELSE 0 END" + from_ + " WHERE " + first +
         " >= ?" + order_ + (limit_ ? " LIMIT ?" : "");
}

// Term by term: t1 beyond v1, or t1 equal to v1 and the rest beyond. A Null
// value is before every other, so nothing is before it and everything that
// is not Null is after it.
std::string OdbcOrderQueries::Condition(const std::vector<Variant>& position, size_t from,
                                        bool after) const {
  const std::string& term = terms_[from];
  const bool null = position[from].IsNull();
  // Nulls sort first: after a Null comes every value, before it nothing.
  const std::string beyond = null    ? (after ? term + " IS NOT NULL" : "1 = 0")
                             : after ? term + " > ?"
                                     : "(" + term + " < ? OR " + term + " IS NULL)";
  if (from + 1 == terms_.size()) return beyond;
  const std::string equal = null ? term + " IS NULL" : term + " = ?";
  return "(" + beyond + " OR (" + equal + " AND " + Condition(position, from + 1, after) + "))";
}

std::string OdbcOrderQueries::After(const std::vector<Variant>& position) const {
  // The first condition lets the source search the index; the rest picks
  // the exact place among equal first keys.
  const std::string lower = position.front().IsNull() ? "" : terms_.front() + " >= ? AND ";
  return Bounded(" WHERE " + lower + Condition(position, 0, true));
}

std::string OdbcOrderQueries::CountBefore(const std::vector<Variant>& position) const {
  return "SELECT COUNT(*)" + from_ + " WHERE " + Condition(position, 0, false);
}

std::vector<Variant> OdbcOrderQueries::BeforeParameters(
    const std::vector<Variant>& position) const {
  std::vector<Variant> parameters;
  for (size_t i = 0; i < position.size(); ++i) {
    if (position[i].IsNull()) continue;
    parameters.push_back(position[i]);
    // Each term but the last appears twice in the condition: beyond, and equal.
    if (i + 1 < position.size()) parameters.push_back(position[i]);
  }
  return parameters;
}

std::vector<Variant> OdbcOrderQueries::AfterParameters(const std::vector<Variant>& position) const {
  std::vector<Variant> parameters = BeforeParameters(position);
  if (!position.front().IsNull()) parameters.insert(parameters.begin(), position.front());
  return parameters;
}

std::string RowByIdentityQuery(const OdbcConnection& connection, const OdbcTableSchema& schema) {
  return "SELECT " + SelectList(connection, schema, AllFields(schema)) + " FROM " +
         connection.Quote(schema.name) + " WHERE " + IdentityCondition(schema);
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

#include "database/odbc_values.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/vb_error.h"

namespace typrosync {
namespace {

// Drivers spell their type names freely ("money", "CURRENCY", "YESNO"), so
// the name is searched, not compared.
bool NameHas(const std::string& type_name, const char* part) {
  std::string upper = type_name;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper.find(part) != std::string::npos;
}

// The driver has already checked these texts; a malformed one reads as 0
// rather than stopping the run.
int64_t ParseInteger(const std::string& text) {
  int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

double ParseDouble(const std::string& text) {
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// Text keys compare without regard to ASCII case, like the index order the
// seeks rely on; a shorter text that is a prefix sorts first.
int CompareText(const std::string& a, const std::string& b) {
  const size_t size = std::min(a.size(), b.size());
  for (size_t i = 0; i < size; ++i) {
    const int x = std::toupper(static_cast<unsigned char>(a[i]));
    const int y = std::toupper(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// 0 Null, 1 number, 2 text: the order of the groups.
int Group(const Variant& value) {
  switch (value.kind()) {
    case Variant::Kind::kEmpty:
    case Variant::Kind::kNull:
      return 0;
    case Variant::Kind::kText:
      return 2;
    default:
      return 1;
  }
}

}  // namespace

OdbcKind KindOfColumn(const odbc::ColumnDescription& column, const std::string& type_name,
                      bool money_as_decimal) {
  // The type name wins over the SQL type: a driver may report a currency
  // column as plain DECIMAL.
  if (NameHas(type_name, "CURRENCY") || NameHas(type_name, "MONEY")) return OdbcKind::kCurrency;
  if (NameHas(type_name, "BOOL") || NameHas(type_name, "YESNO")) return OdbcKind::kBoolean;
  switch (column.sql_type) {
    case SQL_BIT:
      return OdbcKind::kBoolean;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
      // Four decimals is the currency's own scale; a scale of 0 means
      // currency only when the caller knows its driver reports money so.
      if (column.scale == 4 || (column.scale == 0 && money_as_decimal)) return OdbcKind::kCurrency;
      return column.scale == 0 ? OdbcKind::kInteger : OdbcKind::kDouble;
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
      return OdbcKind::kInteger;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return OdbcKind::kDouble;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TYPE_TIMESTAMP:
    case SQL_DATETIME:
    case SQL_TIMESTAMP:
      return OdbcKind::kDate;
    default:
      return OdbcKind::kText;
  }
}

std::pair<odbc::BufferType, size_t> BufferFor(OdbcKind kind, uint64_t column_size) {
  switch (kind) {
    case OdbcKind::kInteger:
    case OdbcKind::kBoolean:
      return {odbc::BufferType::kInteger, 8};
    case OdbcKind::kDouble:
      return {odbc::BufferType::kDouble, 8};
    // Currency and dates come as text: exact decimals, and no driver's own
    // date structure to interpret.
    case OdbcKind::kCurrency:
    case OdbcKind::kDate:
      return {odbc::BufferType::kText, 48};
    case OdbcKind::kText:
      break;
  }
  // Most administration texts are short; a longer one is read again whole.
  constexpr uint64_t kWidest = 256;
  const uint64_t bytes =
      // Four bytes per character is the most UTF-8 needs; one more for NUL.
      column_size > 0 && column_size < kWidest / 4 ? column_size * 4 + 1 : kWidest;
  return {odbc::BufferType::kText, static_cast<size_t>(bytes)};
}

Variant BlockValue(const odbc::Statement& statement, size_t row, int column, OdbcKind kind,
                   bool& complete) {
  complete = true;
  if (statement.IsNull(row, column)) return Variant::Null();
  switch (kind) {
    case OdbcKind::kInteger:
      return Variant(statement.Integer(row, column));
    case OdbcKind::kBoolean:
      return Variant(statement.Integer(row, column) != 0);
    case OdbcKind::kDouble:
      return Variant(statement.Double(row, column));
    default:
      return TextValue(statement.Text(row, column, complete), kind);
  }
}

Variant TextValue(const std::optional<std::string>& text, OdbcKind kind) {
  if (!text) return Variant::Null();
  switch (kind) {
    case OdbcKind::kText:
      return Variant(*text);
    case OdbcKind::kInteger:
      return Variant(ParseInteger(*text));
    case OdbcKind::kDouble:
      return Variant(ParseDouble(*text));
    case OdbcKind::kCurrency:
      return Variant(DecimalCurrency(*text));
    case OdbcKind::kBoolean:
      return Variant(ParseDouble(*text) != 0);
    case OdbcKind::kDate:
      return Variant(DutchDateText(*text));
  }
  return Variant(*text);
}

// Reads the decimal text digit by digit so that no amount passes through a
// double: 0.1 stays exactly 0.1000.
Currency DecimalCurrency(const std::string& text) {
  size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  __int128 raw = 0;
  int decimals = -1;  // digits after the point; -1 before it
  int first_dropped = -1;
  bool more_dropped = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && decimals < 0) {
      decimals = 0;
      continue;
    }
    if (c < '0' || c > '9') return Currency::FromDouble(ParseDouble(text));  // exponent form
    if (decimals >= 4) {
      if (first_dropped < 0) {
        first_dropped = c - '0';
      } else if (c != '0') {
        more_dropped = true;
      }
      continue;
    }
    raw = raw * 10 + (c - '0');
    if (decimals >= 0) ++decimals;
    // Stop long before 128 bits could wrap; the final check is exact.
    if (raw > static_cast<__int128>(INT64_MAX) * 10) throw VbError::Overflow();
  }
  for (int d = std::max(decimals, 0); d < 4; ++d) raw *= 10;
  // Halves to even, as every conversion into Currency rounds.
  if (first_dropped > 5 || (first_dropped == 5 && (more_dropped || raw % 2 != 0))) ++raw;
  if (raw > INT64_MAX) throw VbError::Overflow();
  return Currency::FromRaw(static_cast<int64_t>(negative ? -raw : raw));
}

// Turns the driver's yyyy-mm-dd hh:mm:ss into the d-m-yyyy form the
// administration's own dates have; midnight is left off, as a date alone.
std::string DutchDateText(const std::string& odbc_text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  const bool has_date = odbc_text.size() >= 10 && odbc_text[4] == '-';
  if (has_date) {
    std::from_chars(odbc_text.data(), odbc_text.data() + 4, year);
    std::from_chars(odbc_text.data() + 5, odbc_text.data() + 7, month);
    std::from_chars(odbc_text.data() + 8, odbc_text.data() + 10, day);
  }
  const size_t time_at = has_date ? 11 : 0;
  const bool has_time = odbc_text.size() >= time_at + 8 && odbc_text[time_at + 2] == ':';
  if (has_time) {
    std::from_chars(odbc_text.data() + time_at, odbc_text.data() + time_at + 2, hour);
    std::from_chars(odbc_text.data() + time_at + 3, odbc_text.data() + time_at + 5, minute);
    std::from_chars(odbc_text.data() + time_at + 6, odbc_text.data() + time_at + 8, second);
  }
  if (!has_date && !has_time) return odbc_text;
  char buffer[48];
  std::string text;
  if (has_date) {
    std::snprintf(buffer, sizeof buffer, "%d-%d-%04d", day, month, year);
    text = buffer;
  }
  if (hour != 0 || minute != 0 || second != 0 || !has_date) {
    std::snprintf(buffer, sizeof buffer, "%s%02d:%02d:%02d", text.empty() ? "" : " ", hour, minute,
                  second);
    text += buffer;
  }
  return text;
}

// Nulls first, then numbers (a yes/no as 0 or 1), then texts: one total
// order, so a seek over mixed keys always lands somewhere defined.
int CompareKeys(const Variant& a, const Variant& b) {
  const int group_a = Group(a);
  const int group_b = Group(b);
  if (group_a != group_b) return group_a < group_b ? -1 : 1;
  if (group_a == 0) return 0;
  if (group_a == 2) return CompareText(a.Text(), b.Text());
  const double x =
      a.kind() == Variant::Kind::kBoolean ? (a == Variant(true) ? 1 : 0) : a.ToDouble();
  const double y =
      b.kind() == Variant::Kind::kBoolean ? (b == Variant(true) ? 1 : 0) : b.ToDouble();
  return x < y ? -1 : x > y ? 1 : 0;
}

}  // namespace typrosync

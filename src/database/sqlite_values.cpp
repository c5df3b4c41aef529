#include "database/sqlite_values.h"

#include <sqlite3.h>

#include <cmath>
#include <cstring>
#include <string>

namespace typrosync {
namespace {

// The two places a value can come from, read through one interface.
struct ColumnSource {
  sqlite3_stmt* stmt;
  int column;
  int Type() const { return sqlite3_column_type(stmt, column); }
  long long Integer() const { return sqlite3_column_int64(stmt, column); }
  double Real() const { return sqlite3_column_double(stmt, column); }
  // Read as a blob so a text with an embedded NUL keeps all its bytes.
  std::string Text() const {
    const auto* text = static_cast<const char*>(sqlite3_column_blob(stmt, column));
    return text ? std::string(text, sqlite3_column_bytes(stmt, column)) : std::string();
  }
};

struct ValueSource {
  sqlite3_value* value;
  int Type() const { return sqlite3_value_type(value); }
  long long Integer() const { return sqlite3_value_int64(value); }
  double Real() const { return sqlite3_value_double(value); }
  std::string Text() const {
    const auto* text = static_cast<const char*>(sqlite3_value_blob(value));
    return text ? std::string(text, sqlite3_value_bytes(value)) : std::string();
  }
};

// Whole amounts are scaled in integers, exactly; only a value too large for
// the currency goes through a double, to raise the same overflow.
Variant CurrencyOfInteger(long long value) {
  constexpr long long kLimit = INT64_MAX / Currency::kScale;
  if (value > kLimit || value < -kLimit) {
    return Currency::FromDouble(static_cast<double>(value));  // throws overflow
  }
  return Currency::FromRaw(value * Currency::kScale);
}

// SQLite keeps whatever type a value was stored with; the column's declared
// kind decides what the program sees, so a yes/no stored as 1.0 is still True.
template <typename Source>
Variant MakeVariant(const Source& source, ColumnKind kind) {
  switch (source.Type()) {
    case SQLITE_NULL:
      return Variant::Null();
    case SQLITE_INTEGER: {
      const long long value = source.Integer();
      if (kind == ColumnKind::kBoolean) return Variant(value != 0);
      if (kind == ColumnKind::kCurrency) return CurrencyOfInteger(value);
      return Variant(static_cast<int64_t>(value));
    }
    case SQLITE_FLOAT: {
      const double value = source.Real();
      if (kind == ColumnKind::kBoolean) return Variant(value != 0);
      if (kind == ColumnKind::kCurrency) return Variant(Currency::FromDouble(value));
      return Variant(value);
    }
    default:
      return Variant(source.Text());
  }
}

// A double with a whole value that fits a 64-bit number, as that number.
bool AsWholeNumber(double value, long long& whole) {
  if (!std::isfinite(value) || std::trunc(value) != value || std::fabs(value) >= 9.2e18) {
    return false;
  }
  whole = static_cast<long long>(value);
  return true;
}

// Whole numbers go in as integers, so a written 5 reads back as the integer
// 5 and not as the double 5.0.
int BindNumber(sqlite3_stmt* stmt, int parameter, double value) {
  long long whole = 0;
  if (AsWholeNumber(value, whole)) return sqlite3_bind_int64(stmt, parameter, whole);
  return sqlite3_bind_double(stmt, parameter, value);
}

}  // namespace

void StoredValueFree::operator()(sqlite3_value* value) const { sqlite3_value_free(value); }

StoredRow CopyRow(sqlite3_stmt* stmt, int first, int count) {
  StoredRow row;
  row.reserve(count);
  for (int i = 0; i < count; ++i) {
    row.emplace_back(sqlite3_value_dup(sqlite3_column_value(stmt, first + i)));
  }
  return row;
}

// Compares as stored, type included: 1 and 1.0 differ, so a change of type
// by another writer also counts as a change.
bool SameRow(const StoredRow& a, const StoredRow& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    sqlite3_value* x = a[i].get();
    sqlite3_value* y = b[i].get();
    const int type = sqlite3_value_type(x);
    if (type != sqlite3_value_type(y)) return false;
    if (type == SQLITE_INTEGER && sqlite3_value_int64(x) != sqlite3_value_int64(y)) return false;
    if (type == SQLITE_FLOAT && sqlite3_value_double(x) != sqlite3_value_double(y)) return false;
    if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
      const int size = sqlite3_value_bytes(x);
      if (size != sqlite3_value_bytes(y)) return false;
      if (size > 0 && std::memcmp(sqlite3_value_blob(x), sqlite3_value_blob(y), size) != 0) {
        return false;
      }
    }
  }
  return true;
}

long long StoredInteger(const StoredValue& value) { return sqlite3_value_int64(value.get()); }

Variant ColumnVariant(sqlite3_stmt* stmt, int column, ColumnKind kind) {
  return MakeVariant(ColumnSource{stmt, column}, kind);
}

Variant StoredVariant(const StoredValue& value, ColumnKind kind) {
  return MakeVariant(ValueSource{value.get()}, kind);
}

int BindVariant(sqlite3_stmt* stmt, int parameter, const Variant& value) {
  switch (value.kind()) {
    case Variant::Kind::kEmpty:
    case Variant::Kind::kNull:
      return sqlite3_bind_null(stmt, parameter);
    case Variant::Kind::kBoolean:
      return sqlite3_bind_int64(stmt, parameter, value.ToDouble() != 0 ? 1 : 0);
    case Variant::Kind::kInteger: {
      // Exact through a double up to 2^53; beyond that through the text.
      const double number = value.ToDouble();
      const long long whole = std::fabs(number) < 9007199254740992.0
                                  ? static_cast<long long>(number)
                                  : std::stoll(value.Text());
      return sqlite3_bind_int64(stmt, parameter, whole);
    }
    case Variant::Kind::kDouble:
      return BindNumber(stmt, parameter, value.ToDouble());
    case Variant::Kind::kCurrency:
      return BindNumber(stmt, parameter, value.ToCurrency().ToDouble());
    case Variant::Kind::kText: {
      const std::string text = value.Text();
      return sqlite3_bind_text(stmt, parameter, text.data(), static_cast<int>(text.size()),
                               SQLITE_TRANSIENT);
    }
  }
  return SQLITE_MISUSE;
}

int BindStored(sqlite3_stmt* stmt, int parameter, const StoredValue& value) {
  return sqlite3_bind_value(stmt, parameter, value.get());
}

}  // namespace typrosync

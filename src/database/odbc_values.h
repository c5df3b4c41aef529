#pragma once
// Moving values between ODBC and Variant, as Jet hands them out: text,
// whole numbers, doubles, Currency (exact, from the decimal text), Boolean,
// dates (as the Dutch date text) and Null. Also the key order of the
// full-scan path. Internal to the ODBC engine.

#include <optional>
#include <string>

#include "common/variant.h"
#include "database/odbc_api.h"

namespace typrosync {

enum class OdbcKind { kText, kInteger, kDouble, kCurrency, kBoolean, kDate };

// The kind of a result column from its ODBC type, scale and type name.
OdbcKind KindOfColumn(const odbc::ColumnDescription& column, const std::string& type_name,
                      bool money_as_decimal);

// How a column of that kind is bound for block fetching (text width in bytes).
std::pair<odbc::BufferType, size_t> BufferFor(OdbcKind kind, uint64_t column_size);

// A value from a fetched block; `complete` false when a text did not fit.
Variant BlockValue(const odbc::Statement& statement, size_t row, int column, OdbcKind kind,
                   bool& complete);

// A value read as text (SQLGetData); nullopt is Null.
Variant TextValue(const std::optional<std::string>& text, OdbcKind kind);

// "12.3456" exactly as Currency (rounded to four decimals, halves to even).
Currency DecimalCurrency(const std::string& text);

// An ODBC date or timestamp text ("1994-11-16 00:00:00") as the Dutch date
// text: "16-11-1994", with " 10:05:00" when the time is not midnight.
std::string DutchDateText(const std::string& odbc_text);

// Key order: Null first, numbers by value before texts, texts without
// regard to case. Negative, 0 or positive.
int CompareKeys(const Variant& a, const Variant& b);

}  // namespace typrosync

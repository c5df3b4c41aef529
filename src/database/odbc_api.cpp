#include "database/odbc_api.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/utf8_decoder.h"

namespace typrosync::odbc {
namespace {

// UTF-8 to the UTF-16 of SQLWCHAR; bytes that are not UTF-8 pass as Latin-1.
// Lenient on purpose, unlike common/utf8_decoder.h: an overlong form or an
// encoded surrogate is taken as it stands, so a name Narrow wrote (a lone
// surrogate included) goes back to the driver as the same UTF-16 units.
std::basic_string<SQLWCHAR> Wide(const std::string& text) {
  std::basic_string<SQLWCHAR> wide;
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    uint32_t code = extra == 3 ? c & 0x07 : extra == 2 ? c & 0x0F : extra == 1 ? c & 0x1F : c;
    if (i + extra >= text.size()) {
      extra = 0;
      code = c;
    }
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) {
        extra = 0;
        code = c;
        break;
      }
      code = (code << 6) | (next & 0x3F);
    }
    i += extra + 1;
    if (code >= 0x10000) {
      code -= 0x10000;
      wide.push_back(static_cast<SQLWCHAR>(0xD800 + (code >> 10)));
      wide.push_back(static_cast<SQLWCHAR>(0xDC00 + (code & 0x3FF)));
    } else {
      wide.push_back(static_cast<SQLWCHAR>(code));
    }
  }
  return wide;
}

// UTF-16 to UTF-8, up to `length` units or the first NUL (some driver
// managers count the NUL in the length they return).
std::string Narrow(const SQLWCHAR* wide, size_t length) {
  std::string text;
  for (size_t i = 0; i < length && wide[i] != 0; ++i) {
    uint32_t code = wide[i];
    // Drivers hand out well-formed UTF-16, so the unit after a high surrogate is
    // taken as its partner without a check.
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < length) {
      code = 0x10000 + ((code - 0xD800) << 10) + (wide[++i] - 0xDC00);
    }
    AppendUtf8(code, text);
  }
  return text;
}

std::vector<Diagnostic> Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::vector<Diagnostic> records;
  // Ten records say more than enough; the bound also ends the loop for a driver
  // that never answers SQL_NO_DATA.
  for (SQLSMALLINT i = 1; i <= 10; ++i) {
    SQLWCHAR state[6] = {};
    SQLWCHAR message[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    const SQLRETURN rc = SQLGetDiagRecW(type, handle, i, state, &native, message, 1024, &length);
    if (!SQL_SUCCEEDED(rc)) break;
    // The length is that of the whole message; the buffer holds at most 1023 units.
    const size_t size = std::min<size_t>(length < 0 ? 0 : length, 1023);
    records.push_back({Narrow(state, 5), native, Narrow(message, size)});
  }
  return records;
}

[[noreturn]] void Throw(const char* call, SQLSMALLINT type, SQLHANDLE handle) {
  throw Failure(call, Diagnostics(type, handle));
}

void Check(SQLRETURN rc, const char* call, SQLSMALLINT type, SQLHANDLE handle) {
  if (!SQL_SUCCEEDED(rc)) Throw(call, type, handle);
}

bool AsWholeNumber(double value, int64_t& whole) {
  // Beyond 2^63 the cast to int64_t would be undefined.
  if (!std::isfinite(value) || std::trunc(value) != value || std::fabs(value) >= 9.2e18) {
    return false;
  }
  whole = static_cast<int64_t>(value);
  return true;
}

}  // namespace

Failure::Failure(const std::string& call, std::vector<Diagnostic> diagnostics)
    : std::runtime_error(call), diagnostics_(std::move(diagnostics)) {}

std::string Failure::Detail() const {
  std::string detail;
  for (const Diagnostic& record : diagnostics_) {
    if (!detail.empty()) detail += "; ";
    detail += "[" + record.state + "] " + record.message;
  }
  // Some drivers fail a call without any record; the call's name still says what.
  if (detail.empty())
    detail = std::string(what()) + " mislukt zonder melding van het stuurprogramma";
  return detail;
}

// ---- connection ------------------------------------------------------------

Connection::Connection(const std::string& connection_string) {
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_))) {
    throw Failure("SQLAllocHandle", {});
  }
  // The driver manager wants the ODBC version before any connection handle, and
  // it decides which SQLSTATEs and catalog answers the driver gives.
  SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_))) {
    std::vector<Diagnostic> records = Diagnostics(SQL_HANDLE_ENV, env_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
    throw Failure("SQLAllocHandle", std::move(records));
  }
  std::basic_string<SQLWCHAR> text = Wide(connection_string);
  // No completed connection string is asked for: MDBTools leaves it
  // unterminated, and the driver manager would read past its end.
  const SQLRETURN rc = SQLDriverConnectW(dbc_, nullptr, text.data(), SQL_NTS, nullptr, 0, nullptr,
                                         SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(rc)) {
    std::vector<Diagnostic> records = Diagnostics(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
    throw Failure("SQLDriverConnect", std::move(records));
  }
}

Connection::~Connection() {
  SQLDisconnect(dbc_);
  SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
  SQLFreeHandle(SQL_HANDLE_ENV, env_);
}

std::string Connection::InfoText(int info) const {
  SQLWCHAR value[256] = {};
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(
          SQLGetInfoW(dbc_, static_cast<SQLUSMALLINT>(info), value, sizeof value, &length))) {
    return "";
  }
  const size_t count = std::min<size_t>(length < 0 ? 0 : length / sizeof(SQLWCHAR), 255);
  return Narrow(value, count);
}

std::string Connection::DbmsName() const { return InfoText(SQL_DBMS_NAME); }
std::string Connection::DriverName() const { return InfoText(SQL_DRIVER_NAME); }
bool Connection::ReadOnlySource() const { return InfoText(SQL_DATA_SOURCE_READ_ONLY) == "Y"; }
std::string Connection::IdentifierQuote() const {
  const std::string quote = InfoText(SQL_IDENTIFIER_QUOTE_CHAR);
  // A driver that cannot quote answers " " or nothing; names then go unquoted.
  return quote.size() == 1 ? quote : std::string();
}

void Connection::SetAutoCommit(bool on) {
  const auto value = reinterpret_cast<SQLPOINTER>(
      static_cast<uintptr_t>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF));
  Check(SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, value, 0), "SQLSetConnectAttr",
        SQL_HANDLE_DBC, dbc_);
}

void Connection::EndTransaction(bool commit) {
  Check(SQLEndTran(SQL_HANDLE_DBC, dbc_, commit ? SQL_COMMIT : SQL_ROLLBACK), "SQLEndTran",
        SQL_HANDLE_DBC, dbc_);
}

// ---- statement -------------------------------------------------------------

struct Statement::Parameter {
  SQLSMALLINT c_type = SQL_C_CHAR;
  SQLSMALLINT sql_type = SQL_VARCHAR;
  int64_t integer = 0;
  double number = 0;
  std::string text;
  SQLLEN indicator = 0;
};

struct Statement::Block {
  struct Column {
    BufferType type;
    size_t width;
    std::vector<char> values;
    std::vector<SQLLEN> indicators;
  };
  std::vector<Column> columns;
  size_t capacity = 1;
  size_t rows = 1;  // the row array size set on the statement
  SQLULEN fetched = 0;
};

Statement::Statement(Connection& connection) {
  SQLHANDLE dbc = connection.handle();
  Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt_), "SQLAllocHandle", SQL_HANDLE_DBC, dbc);
}

Statement::~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, stmt_); }

void Statement::Fail(const char* call) const { Throw(call, SQL_HANDLE_STMT, stmt_); }

void Statement::Prepare(const std::string& sql) {
  std::basic_string<SQLWCHAR> text = Wide(sql);
  if (!SQL_SUCCEEDED(SQLPrepareW(stmt_, text.data(), static_cast<SQLINTEGER>(text.size())))) {
    Fail("SQLPrepare");
  }
}

void Statement::Execute(const std::vector<Variant>& parameters) {
  Close();
  parameters_.assign(parameters.size(), Parameter());
  for (size_t i = 0; i < parameters.size(); ++i) {
    Parameter& p = parameters_[i];
    const Variant& value = parameters[i];
    int64_t whole = 0;
    switch (value.kind()) {
      case Variant::Kind::kEmpty:
      // The database knows no Empty: both go as NULL.
      case Variant::Kind::kNull:
        p.indicator = SQL_NULL_DATA;
        break;
      case Variant::Kind::kBoolean:
        p.c_type = SQL_C_SBIGINT, p.sql_type = SQL_BIGINT;
        p.integer = value.ToDouble() != 0 ? 1 : 0;
        break;
      case Variant::Kind::kInteger:
        p.c_type = SQL_C_SBIGINT, p.sql_type = SQL_BIGINT;
        // Exact through a double up to 2^53; beyond that through the text.
        p.integer = std::fabs(value.ToDouble()) < 9007199254740992.0
                        ? static_cast<int64_t>(value.ToDouble())
                        : std::stoll(value.Text());
        break;
      case Variant::Kind::kDouble:
      case Variant::Kind::kCurrency: {
        const double number = value.kind() == Variant::Kind::kDouble
                                  ? value.ToDouble()
                                  : value.ToCurrency().ToDouble();
        // Whole numbers go as integers so that an integer column takes them without
        // a conversion by the driver; fractions go as doubles.
        if (AsWholeNumber(number, whole)) {
          p.c_type = SQL_C_SBIGINT, p.sql_type = SQL_BIGINT, p.integer = whole;
        } else {
          p.c_type = SQL_C_DOUBLE, p.sql_type = SQL_DOUBLE, p.number = number;
        }
        break;
      }
      case Variant::Kind::kText:
        p.text = value.Text();
        p.indicator = static_cast<SQLLEN>(p.text.size());
        break;
    }
    void* data = p.c_type == SQL_C_SBIGINT  ? static_cast<void*>(&p.integer)
                 : p.c_type == SQL_C_DOUBLE ? static_cast<void*>(&p.number)
                                            : static_cast<void*>(p.text.data());
    // Drivers refuse a text parameter of column size 0, so "" declares one.
    const SQLULEN size = p.c_type == SQL_C_CHAR ? std::max<size_t>(p.text.size(), 1) : 0;
    if (!SQL_SUCCEEDED(SQLBindParameter(stmt_, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT,
                                        p.c_type, p.sql_type, size, 0, data,
                                        static_cast<SQLLEN>(p.text.size()), &p.indicator))) {
      Fail("SQLBindParameter");
    }
  }
  // An UPDATE that touches no row answers SQL_NO_DATA, which is no failure.
  const SQLRETURN rc = SQLExecute(stmt_);
  if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) Fail("SQLExecute");
}

void Statement::ExecuteDirect(const std::string& sql) {
  Close();
  std::basic_string<SQLWCHAR> text = Wide(sql);
  const SQLRETURN rc = SQLExecDirectW(stmt_, text.data(), static_cast<SQLINTEGER>(text.size()));
  if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) Fail("SQLExecDirect");
}

void Statement::Close() { SQLFreeStmt(stmt_, SQL_CLOSE); }

bool Statement::SetQueryTimeout(long seconds) {
  const auto value = reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(seconds));
  return SQL_SUCCEEDED(SQLSetStmtAttrW(stmt_, SQL_ATTR_QUERY_TIMEOUT, value, 0));
}

void Statement::SetMaxRows(size_t rows) {
  const auto value = reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(rows));
  if (!SQL_SUCCEEDED(SQLSetStmtAttrW(stmt_, SQL_ATTR_MAX_ROWS, value, 0))) Fail("SQLSetStmtAttr");
}

int Statement::ColumnCount() {
  SQLSMALLINT count = 0;
  if (!SQL_SUCCEEDED(SQLNumResultCols(stmt_, &count))) Fail("SQLNumResultCols");
  return count;
}

ColumnDescription Statement::Describe(int column) {
  SQLWCHAR name[256] = {};
  SQLSMALLINT name_length = 0, type = 0, scale = 0, nullable = 0;
  SQLULEN size = 0;
  if (!SQL_SUCCEEDED(SQLDescribeColW(stmt_, static_cast<SQLUSMALLINT>(column), name, 256,
                                     &name_length, &type, &size, &scale, &nullable))) {
    Fail("SQLDescribeCol");
  }
  return {Narrow(name, std::min<size_t>(name_length < 0 ? 0 : name_length, 255)), type, size,
          scale};
}

std::string Statement::TypeName(int column) {
  SQLWCHAR name[128] = {};
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(SQLColAttributeW(stmt_, static_cast<SQLUSMALLINT>(column), SQL_DESC_TYPE_NAME,
                                      name, sizeof name, &length, nullptr))) {
    return "";
  }
  return Narrow(name, std::min<size_t>(length < 0 ? 0 : length / sizeof(SQLWCHAR), 127));
}

void Statement::ResetBlock() {
  SQLFreeStmt(stmt_, SQL_UNBIND);
  block_.reset();
}

void Statement::BindBlock(const std::vector<std::pair<BufferType, size_t>>& columns,
                          size_t capacity) {
  ResetBlock();
  auto block = std::make_unique<Block>();
  const size_t rows = capacity;
  block->capacity = capacity;
  // One row until FetchBlock asks for more: a driver without block cursors then
  // still fetches, and the answer of this call need not be checked.
  SQLSetStmtAttrW(stmt_, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(1), 0);
  SQLSetStmtAttrW(stmt_, SQL_ATTR_ROWS_FETCHED_PTR, &block->fetched, 0);
  block->columns.reserve(columns.size());
  for (size_t i = 0; i < columns.size(); ++i) {
    const auto [type, text_width] = columns[i];
    const size_t width = type == BufferType::kText ? text_width : 8;
    Block::Column& column = block->columns.emplace_back(
        Block::Column{type, width, std::vector<char>(width * rows), std::vector<SQLLEN>(rows)});
    const SQLSMALLINT c_type = type == BufferType::kInteger  ? SQL_C_SBIGINT
                               : type == BufferType::kDouble ? SQL_C_DOUBLE
                                                             : SQL_C_CHAR;
    if (!SQL_SUCCEEDED(SQLBindCol(stmt_, static_cast<SQLUSMALLINT>(i + 1), c_type,
                                  column.values.data(), static_cast<SQLLEN>(width),
                                  column.indicators.data()))) {
      Fail("SQLBindCol");
    }
  }
  block_ = std::move(block);
}

size_t Statement::FetchBlock(size_t rows) {
  rows = std::clamp<size_t>(rows, 1, block_->capacity);
  if (rows != block_->rows) {
    // A driver without block cursors keeps fetching one row at a time.
    if (SQL_SUCCEEDED(SQLSetStmtAttrW(stmt_, SQL_ATTR_ROW_ARRAY_SIZE,
                                      reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(rows)),
                                      0))) {
      block_->rows = rows;
    } else {
      block_->capacity = 1;
    }
  }
  block_->fetched = 0;
  const SQLRETURN rc = SQLFetch(stmt_);
  if (rc == SQL_NO_DATA) return 0;
  if (!SQL_SUCCEEDED(rc)) Fail("SQLFetch");
  // Some drivers leave the rows-fetched count alone for a one-row array.
  return block_->fetched == 0 ? 1 : block_->fetched;
}

bool Statement::IsNull(size_t row, int column) const {
  return block_->columns[column].indicators[row] == SQL_NULL_DATA;
}

int64_t Statement::Integer(size_t row, int column) const {
  int64_t value = 0;
  std::memcpy(&value, block_->columns[column].values.data() + row * 8, 8);
  return value;
}

double Statement::Double(size_t row, int column) const {
  double value = 0;
  std::memcpy(&value, block_->columns[column].values.data() + row * 8, 8);
  return value;
}

std::string Statement::Text(size_t row, int column, bool& complete) const {
  const Block::Column& c = block_->columns[column];
  const SQLLEN length = c.indicators[row];
  const char* start = c.values.data() + row * c.width;
  // A text that filled its buffer (or of unknown length) was cut by the driver;
  // the caller reads such a field again through GetText.
  complete = length != SQL_NO_TOTAL && static_cast<size_t>(length) < c.width;
  if (!complete) return std::string(start, strnlen(start, c.width));
  return std::string(start, static_cast<size_t>(length));
}

bool Statement::Fetch() {
  const SQLRETURN rc = SQLFetch(stmt_);
  if (rc == SQL_NO_DATA) return false;
  if (!SQL_SUCCEEDED(rc)) Fail("SQLFetch");
  return true;
}

std::optional<std::string> Statement::GetText(int column) {
  std::string text;
  char buffer[1024];
  for (;;) {
    SQLLEN length = 0;
    const SQLRETURN rc = SQLGetData(stmt_, static_cast<SQLUSMALLINT>(column), SQL_C_CHAR, buffer,
                                    sizeof buffer, &length);
    if (rc == SQL_NO_DATA) break;
    if (!SQL_SUCCEEDED(rc)) Fail("SQLGetData");
    if (length == SQL_NULL_DATA) return std::nullopt;
    const bool partial = rc == SQL_SUCCESS_WITH_INFO &&
                         (length == SQL_NO_TOTAL || length >= static_cast<SQLLEN>(sizeof buffer));
    // A partial piece fills the buffer but for the NUL the driver always writes.
    text.append(buffer, partial ? sizeof buffer - 1 : static_cast<size_t>(length));
    if (!partial) break;
  }
  return text;
}

void Statement::Tables() {
  Close();
  // Only user tables: views and the driver's system tables are not the data.
  SQLWCHAR types[] = {'T', 'A', 'B', 'L', 'E', 0};
  if (!SQL_SUCCEEDED(SQLTablesW(stmt_, nullptr, 0, nullptr, 0, nullptr, 0, types, SQL_NTS))) {
    Fail("SQLTables");
  }
}

void Statement::Statistics(const std::string& table) {
  Close();
  std::basic_string<SQLWCHAR> name = Wide(table);
  if (!SQL_SUCCEEDED(SQLStatisticsW(stmt_, nullptr, 0, nullptr, 0, name.data(),
                                    static_cast<SQLSMALLINT>(name.size()), SQL_INDEX_ALL,
                                    SQL_QUICK))) {
    Fail("SQLStatistics");
  }
}

void Statement::SpecialColumns(const std::string& table) {
  Close();
  std::basic_string<SQLWCHAR> name = Wide(table);
  if (!SQL_SUCCEEDED(SQLSpecialColumnsW(stmt_, SQL_BEST_ROWID, nullptr, 0, nullptr, 0, name.data(),
                                        static_cast<SQLSMALLINT>(name.size()),
                                        SQL_SCOPE_TRANSACTION, SQL_NULLABLE))) {
    Fail("SQLSpecialColumns");
  }
}

void Statement::PrimaryKeys(const std::string& table) {
  Close();
  std::basic_string<SQLWCHAR> name = Wide(table);
  if (!SQL_SUCCEEDED(SQLPrimaryKeysW(stmt_, nullptr, 0, nullptr, 0, name.data(),
                                     static_cast<SQLSMALLINT>(name.size())))) {
    Fail("SQLPrimaryKeys");
  }
}

}  // namespace typrosync::odbc

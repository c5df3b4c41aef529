#pragma once
// The part of the ODBC 3 API the ODBC engine uses, behind plain C++ types so
// that only odbc_*.cpp files include the ODBC headers. Text that names
// things (connection strings, SQL) goes through the wide functions as
// UTF-16, which every driver manager offers; field values travel as bytes
// (SQL_C_CHAR, the driver's character set) and fixed-size numbers.
// Internal to the ODBC engine.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/variant.h"

namespace typrosync::odbc {

// One diagnostic record of a failed call.
struct Diagnostic {
  std::string state;  // SQLSTATE, five characters
  long native = 0;
  std::string message;
};

// A failed ODBC call with the driver's diagnostics. The connection turns it
// into the engine's VbError (see odbc_connection.h).
class Failure : public std::runtime_error {
 public:
  Failure(const std::string& call, std::vector<Diagnostic> diagnostics);
  const std::vector<Diagnostic>& diagnostics() const { return diagnostics_; }
  // "[SQLSTATE] message" of every record, joined.
  std::string Detail() const;

 private:
  std::vector<Diagnostic> diagnostics_;
};

// What a result column holds, as SQLDescribeCol tells it.
struct ColumnDescription {
  std::string name;
  int sql_type = 0;
  uint64_t size = 0;
  int scale = 0;
};

// How a value is fetched into a bound buffer.
enum class BufferType { kInteger, kDouble, kText };

// One connection; owns its environment.
class Connection {
 public:
  // Connects with SQLDriverConnectW, no prompt. Throws Failure.
  explicit Connection(const std::string& connection_string);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void* handle() const { return dbc_; }
  // SQLGetInfo text answers; empty when the driver cannot answer.
  std::string DbmsName() const;
  std::string DriverName() const;
  bool ReadOnlySource() const;
  std::string IdentifierQuote() const;
  void SetAutoCommit(bool on);
  void EndTransaction(bool commit);

 private:
  std::string InfoText(int info) const;
  void* env_ = nullptr;
  void* dbc_ = nullptr;
};

// One statement handle with its parameter and column buffers.
class Statement {
 public:
  explicit Statement(Connection& connection);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  void Prepare(const std::string& sql);
  // Binds the parameters (Empty and Null as NULL, Booleans as 1/0, whole
  // doubles and Currency as whole numbers) and executes the prepared text.
  void Execute(const std::vector<Variant>& parameters = {});
  void ExecuteDirect(const std::string& sql);
  // Closes the cursor, if one is open.
  void Close();
  // Sets SQL_ATTR_QUERY_TIMEOUT; false when the driver refuses it.
  bool SetQueryTimeout(long seconds);
  // Sets SQL_ATTR_MAX_ROWS (0: no limit).
  void SetMaxRows(size_t rows);

  int ColumnCount();
  ColumnDescription Describe(int column);  // 1-based
  // The type name (SQL_DESC_TYPE_NAME); some drivers cannot answer safely.
  std::string TypeName(int column);

  // Fetching in blocks: binds every column of the result (BufferType and
  // width in bytes for text) for up to `capacity` rows at a time.
  void BindBlock(const std::vector<std::pair<BufferType, size_t>>& columns, size_t capacity);
  // The next block of at most `rows` rows (a driver without block cursors
  // gives one); the number of rows in it, 0 at the end.
  size_t FetchBlock(size_t rows);
  // A bound value of row `row` of the block, column `column` (0-based).
  bool IsNull(size_t row, int column) const;
  int64_t Integer(size_t row, int column) const;
  double Double(size_t row, int column) const;
  // The text, and whether the buffer held all of it.
  std::string Text(size_t row, int column, bool& complete) const;

  // Row at a time, for catalog results and unbound columns.
  bool Fetch();
  // The column as text (SQLGetData, any length); nullopt for NULL.
  std::optional<std::string> GetText(int column);

  // Catalog calls; the result is read with Fetch and GetText.
  void Tables();
  void Statistics(const std::string& table);
  void SpecialColumns(const std::string& table);
  void PrimaryKeys(const std::string& table);

 private:
  struct Parameter;
  struct Block;
  [[noreturn]] void Fail(const char* call) const;
  void ResetBlock();
  void* stmt_ = nullptr;
  std::vector<Parameter> parameters_;
  std::unique_ptr<Block> block_;
};

}  // namespace typrosync::odbc

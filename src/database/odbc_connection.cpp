#include "database/odbc_connection.h"

#include <algorithm>
#include <cctype>

#include "database/database_errors.h"
#include "database/name_index.h"

namespace typrosync {
namespace {

bool Contains(const std::string& text, const char* part) {
  return UpperAscii(text).find(part) != std::string::npos;
}

bool IsLockFailure(const odbc::Diagnostic& record) {
  // Drivers tell a lock apart in different ways: a time-out or serialization
  // state, or only the words of their message.
  return record.state == "HYT00" || record.state == "HYT01" || record.state == "40001" ||
         Contains(record.message, "LOCKED") || Contains(record.message, "BUSY");
}

// Options of the SQLite driver the engine needs, unless the connection
// string gives them. The driver waits for a lock by its own "Timeout" (100 s
// unless given) and ignores the query time-out; it waits that time twice
// before it gives up (Timeout=1000 fails after 2.1 s), so half is asked.
// Its "StepAPI=1" is not asked for: it would read results row by row, but
// then a closed statement goes on where it stopped when executed again.
std::string SqliteDriverOptions(const std::string& connection_string,
                                std::chrono::milliseconds busy_timeout) {
  std::string options;
  if (!Contains(connection_string, "TIMEOUT=")) {
    options += ";Timeout=" + std::to_string(std::max<long long>(busy_timeout.count() / 2, 1));
  }
  return options;
}

}  // namespace

std::shared_ptr<OdbcConnection> OdbcConnection::Open(const std::string& connection_string,
                                                     const std::string& source,
                                                     std::chrono::milliseconds busy_timeout) {
  try {
    auto api = std::make_unique<odbc::Connection>(connection_string);
    if (UpperAscii(api->DbmsName()) == "SQLITE") {
      std::string options = SqliteDriverOptions(connection_string, busy_timeout);
      // The driver is known only once connected; its options need a new connection.
      if (!options.empty()) {
        api.reset();
        api = std::make_unique<odbc::Connection>(connection_string + options);
      }
    }
    std::shared_ptr<OdbcConnection> connection(
        new OdbcConnection(std::move(api), source, busy_timeout));
    connection->ReadTableNames();
    return connection;
  } catch (const odbc::Failure& failure) {
    throw database_errors::SourceNotOpened(source, failure.Detail());
  }
}

OdbcConnection::OdbcConnection(std::unique_ptr<odbc::Connection> api, std::string source,
                               std::chrono::milliseconds busy_timeout)
    : api_(std::move(api)), source_(std::move(source)), busy_timeout_(busy_timeout) {
  LearnTraits();
}

void OdbcConnection::LearnTraits() {
  const std::string dbms = UpperAscii(api_->DbmsName());
  traits_.sqlite = dbms == "SQLITE";
  if (dbms == "MDBTOOLS") {
    traits_.catalog = false;
    traits_.ordered_sql = false;
    traits_.money_as_decimal = true;
    traits_.read_only = true;
    // Its quote is '"'; it is not asked, because the driver writes the
    // answer without its terminating NUL and the driver manager reads on.
    return;
  }
  traits_.read_only = api_->ReadOnlySource();
  const std::string quote = api_->IdentifierQuote();
  if (quote == "\"" || quote == "`") traits_.quote = quote;
  if (quote.empty() || quote == " ") traits_.quote.clear();
}

std::string OdbcConnection::driver() const {
  const std::string name = api_->DriverName();
  return name.empty() ? api_->DbmsName() : name;
}

std::unique_ptr<odbc::Statement> OdbcConnection::NewStatement() {
  auto statement = std::make_unique<odbc::Statement>(*api_);
  // Whole seconds, rounded up: a time-out below one second would mean none.
  const long seconds = static_cast<long>((busy_timeout_.count() + 999) / 1000);
  if (traits_.ordered_sql) statement->SetQueryTimeout(seconds);
  return statement;
}

std::string OdbcConnection::Quote(const std::string& name) const {
  if (traits_.quote.empty()) return name;
  if (traits_.quote == "\"" || traits_.quote == "`") {
    std::string quoted = traits_.quote;
    for (char c : name) {
      // A quote inside a name is doubled, the one escape every SQL dialect knows.
      if (c == traits_.quote[0]) quoted.push_back(c);
      quoted.push_back(c);
    }
    return quoted + traits_.quote;
  }
  return name;
}

void OdbcConnection::ReadTableNames() {
  auto statement = NewStatement();
  statement->Tables();
  while (statement->Fetch()) {
    std::optional<std::string> name = statement->GetText(3);
    if (!name) continue;
    table_positions_.Add(*name, static_cast<int>(table_names_.size()));
    table_names_.push_back(*name);
  }
}

std::optional<std::string> OdbcConnection::FindTable(const std::string& name) {
  const int position = table_positions_.Find(name);
  if (position < 0) return std::nullopt;
  return table_names_[position];
}

std::vector<std::string> OdbcConnection::TableNames() { return table_names_; }

VbError OdbcConnection::Translate(const odbc::Failure& failure) const {
  for (const odbc::Diagnostic& record : failure.diagnostics()) {
    // A lock is the one failure the caller can wait out, so it gets its own number.
    if (IsLockFailure(record)) return database_errors::RecordLocked();
  }
  return database_errors::EngineFailure(failure.what() + std::string(": ") + failure.Detail());
}

void OdbcConnection::DetachAll() {
  for (CursorHolder* holder : holders_) holder->Detach();
}

void OdbcConnection::BeginWrite() {
  if (write_depth_ == 0) {
    // An open read cursor would pin an old snapshot of the source.
    DetachAll();
    api_->SetAutoCommit(false);
  }
  ++write_depth_;
}

void OdbcConnection::EndWrite() {
  if (write_depth_ == 0) return;
  if (--write_depth_ > 0) return;
  try {
    api_->EndTransaction(true);
  } catch (const odbc::Failure&) {
    Rollback();
    throw;
  }
  api_->SetAutoCommit(true);
}

void OdbcConnection::Rollback() {
  write_depth_ = 0;
  try {
    api_->EndTransaction(false);
  } catch (const odbc::Failure&) {
    // Nothing was written, or the driver ended the transaction itself.
  }
  api_->SetAutoCommit(true);
}

}  // namespace typrosync

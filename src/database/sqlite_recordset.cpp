#include "database/sqlite_recordset.h"

#include <sqlite3.h>

#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "database/database_errors.h"
#include "database/sqlite_index_queries.h"
#include "database/sqlite_values.h"

namespace typrosync {
namespace {

namespace errors = database_errors;

// Prepared statements of one order, made on first use.
struct OrderStatements {
  IndexQueries sql;
  Statement scan, seek, resume, count_before;
};

class SqliteRecordset final : public TableRecordset, private StatementHolder {
 public:
  SqliteRecordset(std::shared_ptr<SqliteConnection> connection, TableSchema schema)
      : connection_(std::move(connection)), schema_(std::move(schema)) {
    connection_->Register(this);
  }
  ~SqliteRecordset() override {
    try {
      CancelUpdate();
    } catch (const std::exception&) {
      // Closing never fails; a commit that cannot be made is left to SQLite.
    }
    connection_->Unregister(this);
  }

  void SetIndex(const std::string& name) override;
  std::string Index() const override { return index_ ? index_->name : std::string(); }
  void Seek(const Variant& key) override;
  bool NoMatch() const override { return no_match_; }
  void MoveFirst() override;
  void MoveNext() override;
  bool IsEOF() const override { return state_ == State::kEnd; }
  long RecordCount() override;
  double PercentPosition() override;
  Variant Field(const std::string& name) const override;
  int FieldIndex(const std::string& name) const override { return FieldPosition(name); }
  Variant FieldAt(int index) const override;
  void Edit() override;
  void SetField(const std::string& name, const Variant& value) override;
  void Update() override;
  void CancelUpdate() override;
  Bookmark LastModified() const override;
  Bookmark CurrentBookmark() override { return Bookmark{std::to_string(CurrentRowId())}; }
  void GoTo(const Bookmark& bookmark) override;
  void SetLockEdits(bool lock_edits) override { lock_edits_ = lock_edits; }
  bool LockEdits() const override { return lock_edits_; }

 private:
  // kLive: live_ is on the current row. kKept: the row is kept in kept_
  // (after a write let go of the statement, or after GoTo).
  enum class State { kNone, kLive, kKept, kEnd };

  void Detach() override;
  void Release();
  OrderStatements& Statements();
  sqlite3_stmt* Use(Statement& stmt, const std::string& sql);
  void StepInto(sqlite3_stmt* stmt);
  void Resume();
  void ResumeAfterNullKey(long long rowid);
  long long CurrentRowId() const;
  std::optional<StoredRow> ReadRow(long long rowid);
  void KeepRow(StoredRow row);
  long CountBefore();
  int FieldPosition(const std::string& name) const;
  Variant CurrentValue(int position) const;
  void WriteChanges(long long rowid);

  std::shared_ptr<SqliteConnection> connection_;
  TableSchema schema_;
  const IndexInfo* index_ = nullptr;
  std::unordered_map<const IndexInfo*, OrderStatements> statements_;
  Statement row_by_id_;
  // UPDATE statements by the fields they write: a run stamps thousands of
  // records through the same one.
  std::map<std::vector<int>, Statement> updates_;

  State state_ = State::kNone;
  sqlite3_stmt* live_ = nullptr;
  StoredRow kept_;  // row id, then the fields
  bool no_match_ = false;
  std::optional<long> ordinal_;  // 0-based place of the current row, when known
  long cached_count_ = -1;
  long long count_stamp_ = 0;

  bool lock_edits_ = true;
  bool editing_ = false;
  bool edit_holds_lock_ = false;
  long long edit_rowid_ = 0;
  StoredRow edit_original_;
  std::vector<std::optional<Variant>> edit_changes_;
  std::optional<long long> last_modified_;
};

// ---- positioning ---------------------------------------------------------

void SqliteRecordset::Release() {
  if (live_ != nullptr) sqlite3_reset(live_);
  live_ = nullptr;
}

// Another recordset is about to write: an open read statement would hold
// a snapshot (and a shared lock) that blocks the write, so the current row
// is copied out and the statement let go.
void SqliteRecordset::Detach() {
  if (state_ != State::kLive) return;
  kept_ = CopyRow(live_, 0, static_cast<int>(schema_.columns.size()) + 1);
  Release();
  state_ = State::kKept;
}

OrderStatements& SqliteRecordset::Statements() {
  auto [it, added] = statements_.try_emplace(index_);
  if (added) it->second.sql = MakeIndexQueries(schema_, index_);
  return it->second;
}

sqlite3_stmt* SqliteRecordset::Use(Statement& stmt, const std::string& sql) {
  if (!stmt) stmt = connection_->Prepare(sql);
  // Bindings of the previous use must not leak into this one.
  sqlite3_reset(stmt.get());
  sqlite3_clear_bindings(stmt.get());
  return stmt.get();
}

// Makes the statement's next row current, or leaves the recordset at its end.
void SqliteRecordset::StepInto(sqlite3_stmt* stmt) {
  live_ = stmt;
  if (connection_->Step(stmt)) {
    state_ = State::kLive;
    return;
  }
  Release();
  state_ = State::kEnd;
  ordinal_.reset();
}

void SqliteRecordset::SetIndex(const std::string& name) {
  const IndexInfo* index = schema_.FindIndex(name);
  if (index == nullptr) throw errors::NoSuchIndex(name);
  if (editing_) CancelUpdate();
  Release();
  index_ = index;
  state_ = State::kNone;
  ordinal_.reset();
}

void SqliteRecordset::MoveFirst() {
  if (editing_) CancelUpdate();
  Release();
  OrderStatements& order = Statements();
  StepInto(Use(order.scan, order.sql.scan));
  if (state_ == State::kLive) ordinal_ = 0;
}

void SqliteRecordset::MoveNext() {
  if (editing_) CancelUpdate();
  if (state_ == State::kNone || state_ == State::kEnd) throw errors::NoCurrentRecord();
  if (state_ == State::kKept) {
    Resume();
  } else {
    StepInto(live_);
  }
  if (state_ == State::kLive && ordinal_) ++*ordinal_;
}

void SqliteRecordset::Seek(const Variant& key) {
  if (index_ == nullptr) throw errors::NoCurrentIndex();
  if (editing_) CancelUpdate();
  Release();
  ordinal_.reset();
  OrderStatements& order = Statements();
  sqlite3_stmt* stmt = Use(order.seek, order.sql.seek);
  connection_->Check(BindVariant(stmt, 1, key));
  StepInto(stmt);
  // The seek query lands on the first row at or after the key and says in
  // its last column whether that row really equals it.
  const int match_column = static_cast<int>(schema_.columns.size()) + 1;
  no_match_ = state_ != State::kLive || sqlite3_column_int(stmt, match_column) == 0;
  if (no_match_) {
    Release();
    state_ = State::kNone;
  }
}

// Continues after the kept row, in the current order, with a fresh statement.
void SqliteRecordset::Resume() {
  const long long rowid = StoredInteger(kept_[0]);
  OrderStatements& order = Statements();
  sqlite3_stmt* stmt = Use(order.resume, order.sql.resume);
  // The row id breaks ties, so rows with equal keys are neither skipped nor
  // visited twice.
  int parameter = 1;
  if (index_ != nullptr) {
    for (int column : index_->columns) {
      if (sqlite3_value_type(kept_[column + 1].get()) == SQLITE_NULL) {
        return ResumeAfterNullKey(rowid);
      }
      connection_->Check(BindStored(stmt, parameter++, kept_[column + 1]));
    }
  }
  connection_->Check(sqlite3_bind_int64(stmt, parameter, rowid));
  StepInto(stmt);
}

// A row value with Null compares as unknown, so find the place by walking
// the order from the start. Rare: key fields are seldom Null.
void SqliteRecordset::ResumeAfterNullKey(long long rowid) {
  OrderStatements& order = Statements();
  sqlite3_stmt* stmt = Use(order.scan, order.sql.scan);
  live_ = stmt;
  while (connection_->Step(stmt)) {
    if (sqlite3_column_int64(stmt, 0) == rowid) return StepInto(stmt);
  }
  Release();
  state_ = State::kEnd;
}

long long SqliteRecordset::CurrentRowId() const {
  if (state_ == State::kLive) return sqlite3_column_int64(live_, 0);
  if (state_ == State::kKept) return StoredInteger(kept_[0]);
  throw errors::NoCurrentRecord();
}

std::optional<StoredRow> SqliteRecordset::ReadRow(long long rowid) {
  sqlite3_stmt* stmt = Use(row_by_id_, RowByIdQuery(schema_));
  connection_->Check(sqlite3_bind_int64(stmt, 1, rowid));
  std::optional<StoredRow> row;
  if (connection_->Step(stmt)) {
    row = CopyRow(stmt, 0, static_cast<int>(schema_.columns.size()) + 1);
  }
  sqlite3_reset(stmt);
  return row;
}

void SqliteRecordset::KeepRow(StoredRow row) {
  Release();
  kept_ = std::move(row);
  state_ = State::kKept;
}

void SqliteRecordset::GoTo(const Bookmark& bookmark) {
  if (editing_) CancelUpdate();
  long long rowid = 0;
  // A bookmark from another table or a damaged one reads as a deleted row.
  try {
    rowid = std::stoll(bookmark.bytes);
  } catch (const std::exception&) {
    throw errors::RecordDeleted();
  }
  std::optional<StoredRow> row = ReadRow(rowid);
  if (!row) throw errors::RecordDeleted();
  KeepRow(std::move(*row));
  ordinal_.reset();
}

Bookmark SqliteRecordset::LastModified() const {
  if (!last_modified_) throw errors::NoCurrentRecord();
  return Bookmark{std::to_string(*last_modified_)};
}

// ---- counting --------------------------------------------------------------

long SqliteRecordset::RecordCount() {
  // Counting is a full scan; the count holds until any write on the
  // connection moves the stamp.
  const long long stamp = connection_->ChangeStamp();
  if (cached_count_ >= 0 && stamp == count_stamp_) return cached_count_;
  Statement stmt = connection_->Prepare("SELECT count(*) FROM " + QuoteIdentifier(schema_.name));
  cached_count_ = connection_->Step(stmt.get()) ? sqlite3_column_int(stmt.get(), 0) : 0;
  count_stamp_ = stamp;
  return cached_count_;
}

long SqliteRecordset::CountBefore() {
  const long long rowid = CurrentRowId();
  StoredRow row = state_ == State::kLive
                      ? CopyRow(live_, 0, static_cast<int>(schema_.columns.size()) + 1)
                      : StoredRow();
  const StoredRow& current = state_ == State::kLive ? row : kept_;
  OrderStatements& order = Statements();
  sqlite3_stmt* stmt = Use(order.count_before, order.sql.count_before);
  int parameter = 1;
  if (index_ != nullptr) {
    for (int column : index_->columns) BindStored(stmt, parameter++, current[column + 1]);
  }
  sqlite3_bind_int64(stmt, parameter, rowid);
  const long count = connection_->Step(stmt) ? sqlite3_column_int(stmt, 0) : 0;
  sqlite3_reset(stmt);
  return count;
}

double SqliteRecordset::PercentPosition() {
  if (state_ != State::kLive && state_ != State::kKept) return 0;
  // The place is counted only after a Seek or GoTo lost it; plain moves
  // keep it up to date for free.
  if (!ordinal_) ordinal_ = CountBefore();
  const long count = RecordCount();
  return count > 0 ? 100.0 * static_cast<double>(*ordinal_) / count : 0;
}

// ---- fields ----------------------------------------------------------------

int SqliteRecordset::FieldPosition(const std::string& name) const {
  const int position = schema_.column_positions.Find(name);
  if (position < 0) throw errors::ItemNotFound(name);
  return position;
}

Variant SqliteRecordset::CurrentValue(int position) const {
  const ColumnKind kind = schema_.columns[position].kind;
  if (state_ == State::kLive) return ColumnVariant(live_, position + 1, kind);
  if (state_ == State::kKept) return StoredVariant(kept_[position + 1], kind);
  throw errors::NoCurrentRecord();
}

Variant SqliteRecordset::Field(const std::string& name) const {
  return FieldAt(FieldPosition(name));
}

Variant SqliteRecordset::FieldAt(int position) const {
  if (position < 0 || position >= static_cast<int>(schema_.columns.size())) {
    throw errors::ItemNotFound(std::to_string(position));
  }
  if (!editing_) return CurrentValue(position);
  if (edit_changes_[position]) return *edit_changes_[position];
  return StoredVariant(edit_original_[position + 1], schema_.columns[position].kind);
}

// ---- edits -----------------------------------------------------------------

void SqliteRecordset::Edit() {
  if (editing_) CancelUpdate();
  const long long rowid = CurrentRowId();
  // Pessimistic: the write lock from here to Update. Optimistic: only let go
  // of old snapshots, so the values kept for the later check are current.
  if (lock_edits_) {
    connection_->BeginWrite();
  } else {
    connection_->DetachAll();
  }
  std::optional<StoredRow> row = ReadRow(rowid);
  if (!row) {
    if (lock_edits_) connection_->EndWrite();
    throw errors::RecordDeleted();
  }
  edit_holds_lock_ = lock_edits_;
  edit_rowid_ = rowid;
  edit_original_ = std::move(*row);
  edit_changes_.assign(schema_.columns.size(), std::nullopt);
  editing_ = true;
}

void SqliteRecordset::SetField(const std::string& name, const Variant& value) {
  const int position = FieldPosition(name);
  if (!editing_) throw errors::UpdateWithoutEdit();
  edit_changes_[position] = value;
}

void SqliteRecordset::WriteChanges(long long rowid) {
  std::vector<int> columns;
  for (size_t i = 0; i < edit_changes_.size(); ++i) {
    if (edit_changes_[i]) columns.push_back(static_cast<int>(i));
  }
  if (columns.empty()) return;
  Statement& update = updates_[columns];
  sqlite3_stmt* stmt = Use(update, UpdateQuery(schema_, columns));
  for (size_t i = 0; i < columns.size(); ++i) {
    connection_->Check(BindVariant(stmt, static_cast<int>(i) + 1, *edit_changes_[columns[i]]));
  }
  connection_->Check(sqlite3_bind_int64(stmt, static_cast<int>(columns.size()) + 1, rowid));
  connection_->Step(stmt);
  sqlite3_reset(stmt);
}

void SqliteRecordset::Update() {
  if (!editing_) throw errors::UpdateWithoutEdit();
  if (!edit_holds_lock_) {
    connection_->BeginWrite();  // 3260 leaves the edit pending
    edit_holds_lock_ = true;
    // Optimistic edit: the row must still be what Edit read, or someone
    // else's change would be overwritten unseen.
    std::optional<StoredRow> now = ReadRow(edit_rowid_);
    if (!now || !SameRow(*now, edit_original_)) {
      CancelUpdate();
      throw now ? errors::ChangedByAnotherUser() : errors::RecordDeleted();
    }
  }
  try {
    WriteChanges(edit_rowid_);
  } catch (...) {
    CancelUpdate();
    throw;
  }
  editing_ = false;
  edit_holds_lock_ = false;
  connection_->EndWrite();
  // The written row becomes current with the values as stored, so reading
  // it back shows any conversion the column made.
  last_modified_ = edit_rowid_;
  if (std::optional<StoredRow> saved = ReadRow(edit_rowid_)) KeepRow(std::move(*saved));
}

void SqliteRecordset::CancelUpdate() {
  if (!editing_) return;
  editing_ = false;
  edit_changes_.clear();
  if (edit_holds_lock_) {
    edit_holds_lock_ = false;
    connection_->EndWrite();
  }
}

}  // namespace

std::unique_ptr<TableRecordset> MakeSqliteRecordset(std::shared_ptr<SqliteConnection> connection,
                                                    TableSchema schema) {
  return std::make_unique<SqliteRecordset>(std::move(connection), std::move(schema));
}

}  // namespace typrosync

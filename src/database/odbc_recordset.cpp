#include "database/odbc_recordset.h"

#include <optional>
#include <unordered_map>

#include "database/database_errors.h"
#include "database/odbc_queries.h"

namespace typrosync {
namespace {

namespace errors = database_errors;
using Row = std::vector<Variant>;  // identity terms, then the fields

// Rows per block: the first block after a seek or a move to the first row
// holds one row, the next ones eight times more up to this, so a seek reads
// one row and a walk takes one execution per 256 rows.
constexpr size_t kBlockCapacity = 256;

class OdbcRecordset final : public TableRecordset, public OdbcAccessPathInfo, private CursorHolder {
 public:
  OdbcRecordset(std::shared_ptr<OdbcConnection> connection, OdbcTableSchema schema)
      : connection_(std::move(connection)),
        schema_(std::move(schema)),
        identity_count_(schema_.identity.size()),
        selected_(schema_.columns.size(), false) {
    full_ = MakeLayout(std::vector<bool>(schema_.columns.size(), true));
    block_ = MakeLayout(selected_);
    connection_->Register(this);
  }
  ~OdbcRecordset() override {
    try {
      CancelUpdate();
    } catch (const std::exception&) {
      // Closing never fails; the driver ends what it cannot commit.
    }
    connection_->Unregister(this);
  }

  std::string AccessPath() const override { return "ordered queries"; }

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
  Bookmark CurrentBookmark() override;
  void GoTo(const Bookmark& bookmark) override;
  void SetLockEdits(bool lock_edits) override { lock_edits_ = lock_edits; }
  bool LockEdits() const override { return lock_edits_; }

 private:
  enum class State { kNone, kLive, kKept, kEnd };

  template <typename Action>
  decltype(auto) Guard(Action&& action) const {
    return Translated(*connection_, std::forward<Action>(action));
  }
  // The result columns of a row query: the identity, then some fields.
  struct Layout {
    std::vector<int> fields;           // schema positions, in result order
    std::vector<int> column_of_field;  // per field its result column, -1 if absent
    std::vector<OdbcKind> kinds;       // per result column
    std::vector<std::pair<odbc::BufferType, size_t>> buffers;
  };
  Layout MakeLayout(const std::vector<bool>& fields) const;
  void ApplyLayout();
  OdbcKind IdentityKind(size_t i) const;
  void Detach() override;
  void Release();
  const OdbcOrderQueries& Queries();
  odbc::Statement& Prepared(const std::string& sql, const Layout* layout,
                            bool extra_column = false);
  void LoadBlock(odbc::Statement& statement, std::vector<Variant> parameters, size_t rows);
  void Advance();
  void ResumeAfter(const Row& position, size_t rows);
  Variant BlockValue(const odbc::Statement& statement, size_t row, const Layout& layout,
                     size_t column, const Row& identity) const;
  Row LiveIdentity() const;
  Row CurrentIdentity() const;
  Row CurrentOrderTerms() const;
  Row Identity(const Row& row) const { return Row(row.begin(), row.begin() + identity_count_); }
  Row OrderTerms(const Row& row) const;
  std::optional<Row> ReadRow(const Row& identity);
  void KeepRow(Row row);
  long CountBefore();
  int FieldPosition(const std::string& name) const;
  Variant LiveValue(int field) const;
  void LockRow(const Row& identity);
  void WriteChanges();

  std::shared_ptr<OdbcConnection> connection_;
  OdbcTableSchema schema_;
  size_t identity_count_;
  // Blocks read only the fields asked for so far (and the index's keys):
  // most callers read a few fields of a wide table. A field asked for the
  // first time is read by the row's identity and joins the next block.
  mutable std::vector<bool> selected_;
  mutable bool layout_changed_ = false;
  Layout block_;  // of the block queries
  Layout full_;   // of the row read by identity: every field
  const OdbcIndex* index_ = nullptr;
  std::unordered_map<const OdbcIndex*, OdbcOrderQueries> queries_;
  // Prepared once, by their SQL text, and executed again with new values.
  std::unordered_map<std::string, std::unique_ptr<odbc::Statement>> statements_;

  // kLive: the current row is row block_row_ of live_'s last block.
  State state_ = State::kNone;
  odbc::Statement* live_ = nullptr;
  size_t block_row_ = 0, block_rows_ = 0;
  bool last_block_ = false;  // the source had no more rows than it gave
  Row kept_;
  bool no_match_ = false;
  std::optional<long> ordinal_;
  long cached_count_ = -1;

  bool lock_edits_ = true;
  bool editing_ = false;
  bool edit_holds_lock_ = false;
  Row edit_original_;
  std::vector<std::optional<Variant>> edit_changes_;
  std::vector<Row> bookmarks_;  // identities handed out as bookmarks
  std::optional<size_t> last_modified_;  // in bookmarks_
};

OdbcKind OdbcRecordset::IdentityKind(size_t i) const {
  const std::string& term = schema_.identity[i];
  for (const OdbcColumn& column : schema_.columns) {
    if (connection_->Quote(column.name) == term) return column.kind;
  }
  // A term that names no column is the source's own row id, a whole number.
  return OdbcKind::kInteger;  // rowid
}

OdbcRecordset::Layout OdbcRecordset::MakeLayout(const std::vector<bool>& fields) const {
  Layout layout;
  layout.column_of_field.assign(schema_.columns.size(), -1);
  for (size_t i = 0; i < identity_count_; ++i) layout.kinds.push_back(IdentityKind(i));
  for (size_t i = 0; i < fields.size(); ++i) {
    if (!fields[i]) continue;
    layout.column_of_field[i] = static_cast<int>(layout.kinds.size());
    layout.fields.push_back(static_cast<int>(i));
    layout.kinds.push_back(schema_.columns[i].kind);
  }
  for (size_t i = 0; i < layout.kinds.size(); ++i) {
    const int field = i < identity_count_ ? -1 : layout.fields[i - identity_count_];
    layout.buffers.push_back(
        BufferFor(layout.kinds[i], field < 0 ? 0 : schema_.columns[field].size));
  }
  return layout;
}

// Takes newly asked fields into the block queries; their statements are
// prepared again. Called before a block is read, never while one is in use.
void OdbcRecordset::ApplyLayout() {
  if (!layout_changed_) return;
  layout_changed_ = false;
  block_ = MakeLayout(selected_);
  queries_.clear();
  statements_.clear();
  live_ = nullptr;
}

// ---- positioning ---------------------------------------------------------

void OdbcRecordset::Release() { live_ = nullptr; }

// Before this connection writes: the current row is kept, so the next move
// reads from the source again and sees the write.
void OdbcRecordset::Detach() {
  if (state_ != State::kLive) return;
  std::optional<Row> row = ReadRow(LiveIdentity());
  Release();
  state_ = row ? State::kKept : State::kNone;
  if (row) kept_ = std::move(*row);
}

const OdbcOrderQueries& OdbcRecordset::Queries() {
  auto it = queries_.find(index_);
  if (it == queries_.end()) {
    it = queries_.emplace(index_, OdbcOrderQueries(*connection_, schema_, index_, block_.fields))
             .first;
  }
  return it->second;
}

odbc::Statement& OdbcRecordset::Prepared(const std::string& sql, const Layout* layout,
                                         bool extra_column) {
  std::unique_ptr<odbc::Statement>& slot = statements_[sql];
  if (!slot) {
    slot = connection_->NewStatement();
    slot->Prepare(sql);
    if (layout != nullptr) {
      auto buffers = layout->buffers;
      if (extra_column) buffers.push_back({odbc::BufferType::kInteger, 8});
      slot->BindBlock(buffers, kBlockCapacity);
    }
  }
  return *slot;
}

// Runs a bounded row query for one block of at most `rows` rows and makes
// its first row current, or leaves the recordset at its end. The cursor is
// closed at once: the rows stay in the bound buffers, and no open cursor
// holds a snapshot of the source.
void OdbcRecordset::LoadBlock(odbc::Statement& statement, std::vector<Variant> parameters,
                              size_t rows) {
  // A source that can say LIMIT in its SQL gets the bound as a parameter, so
  // one prepared statement serves every block size; others cap the rows.
  if (Queries().limit_parameter()) {
    parameters.push_back(Variant(static_cast<int64_t>(rows)));
  } else {
    statement.SetMaxRows(rows);
  }
  statement.Execute(parameters);
  live_ = &statement;
  block_row_ = 0;
  block_rows_ = statement.FetchBlock(rows);
  statement.Close();
  last_block_ = block_rows_ < rows;
  if (block_rows_ > 0) {
    state_ = State::kLive;
    return;
  }
  Release();
  state_ = State::kEnd;
  ordinal_.reset();
}

void OdbcRecordset::ResumeAfter(const Row& position, size_t rows) {
  ApplyLayout();
  const OdbcOrderQueries& queries = Queries();
  LoadBlock(Prepared(queries.After(position), &block_), queries.AfterParameters(position), rows);
}

void OdbcRecordset::Advance() {
  if (++block_row_ < block_rows_) return;
  if (last_block_) {
    Release();
    state_ = State::kEnd;
    ordinal_.reset();
    return;
  }
  // Back on the block's last row, whose terms the next block resumes after.
  --block_row_;
  const Row position = CurrentOrderTerms();
  ResumeAfter(position, std::min(block_rows_ * 8, kBlockCapacity));
}

void OdbcRecordset::SetIndex(const std::string& name) {
  const OdbcIndex* index = schema_.FindIndex(name);
  if (index == nullptr) throw errors::NoSuchIndex(name);
  if (editing_) CancelUpdate();
  Release();
  for (int column : index->columns) {
    if (!selected_[column]) selected_[column] = layout_changed_ = true;
  }
  index_ = index;
  state_ = State::kNone;
  ordinal_.reset();
}

void OdbcRecordset::MoveFirst() {
  if (editing_) CancelUpdate();
  Guard([&] {
    Release();
    cached_count_ = -1;
    ApplyLayout();
    // One row first: a look at the first row needs no more; walking on grows
    // the blocks.
    LoadBlock(Prepared(Queries().First(), &block_), {}, 1);
  });
  if (state_ == State::kLive) ordinal_ = 0;
}

void OdbcRecordset::MoveNext() {
  if (editing_) CancelUpdate();
  if (state_ == State::kNone || state_ == State::kEnd) throw errors::NoCurrentRecord();
  Guard([&] {
    // A kept row is read again from the source: the next one follows it in
    // the order as the source has it now, after this connection's write.
    if (state_ == State::kKept) {
      ResumeAfter(OrderTerms(kept_), 1);
    } else {
      Advance();
    }
  });
  if (state_ == State::kLive && ordinal_) ++*ordinal_;
}

void OdbcRecordset::Seek(const Variant& key) {
  if (index_ == nullptr) throw errors::NoCurrentIndex();
  if (editing_) CancelUpdate();
  Guard([&] {
    Release();
    ordinal_.reset();
    ApplyLayout();
    odbc::Statement& seek = Prepared(Queries().Seek(), &block_, true);
    LoadBlock(seek, {key, key}, 1);
    // The seek query marks in its extra column whether the row it found has the
    // sought key or only the next one after it.
    no_match_ = state_ != State::kLive ||
                seek.Integer(block_row_, static_cast<int>(block_.kinds.size())) == 0;
    if (no_match_) {
      Release();
      state_ = State::kNone;
    }
  });
}

Row OdbcRecordset::OrderTerms(const Row& row) const {
  Row terms;
  if (index_ != nullptr) {
    for (int column : index_->columns) terms.push_back(row[identity_count_ + column]);
  }
  // The identity ends every order, so rows with equal keys still have one
  // place and a walk neither skips nor repeats them.
  terms.insert(terms.end(), row.begin(), row.begin() + identity_count_);
  return terms;
}

// A value of a fetched block; a text longer than the block's buffer is read
// again whole by the row's identity.
Variant OdbcRecordset::BlockValue(const odbc::Statement& statement, size_t row,
                                  const Layout& layout, size_t column, const Row& identity) const {
  bool complete = true;
  Variant value = typrosync::BlockValue(statement, row, static_cast<int>(column),
                                        layout.kinds[column], complete);
  if (complete) return value;
  const int field = layout.fields[column - identity_count_];
  return Guard([&] {
    auto read = connection_->NewStatement();
    read->Prepare(FieldByIdentityQuery(*connection_, schema_, field));
    read->Execute(identity);
    return read->Fetch() ? TextValue(read->GetText(1), layout.kinds[column]) : value;
  });
}

Row OdbcRecordset::LiveIdentity() const {
  Row identity;
  bool complete = true;
  for (size_t i = 0; i < identity_count_; ++i) {
    identity.push_back(
        typrosync::BlockValue(*live_, block_row_, static_cast<int>(i), block_.kinds[i], complete));
  }
  return identity;
}

// The current row's field; one the blocks do not read yet is read by the
// row's identity and read by the blocks from the next one on.
Variant OdbcRecordset::LiveValue(int field) const {
  const int column = block_.column_of_field[field];
  const Row identity = LiveIdentity();
  if (column >= 0) return BlockValue(*live_, block_row_, block_, column, identity);
  selected_[field] = layout_changed_ = true;
  return Guard([&] {
    auto read = connection_->NewStatement();
    read->Prepare(FieldByIdentityQuery(*connection_, schema_, field));
    read->Execute(identity);
    if (!read->Fetch()) throw errors::RecordDeleted();
    return TextValue(read->GetText(1), schema_.columns[field].kind);
  });
}

Row OdbcRecordset::CurrentIdentity() const {
  if (state_ == State::kLive) return LiveIdentity();
  if (state_ == State::kKept) return Identity(kept_);
  throw errors::NoCurrentRecord();
}

// The values of the current order's terms: key fields, then the identity.
Row OdbcRecordset::CurrentOrderTerms() const {
  if (state_ == State::kKept) return OrderTerms(kept_);
  if (state_ != State::kLive) throw errors::NoCurrentRecord();
  const Row identity = LiveIdentity();
  Row terms;
  if (index_ != nullptr) {
    for (int field : index_->columns) {
      const int column = block_.column_of_field[field];
      terms.push_back(BlockValue(*live_, block_row_, block_, column, identity));
    }
  }
  terms.insert(terms.end(), identity.begin(), identity.end());
  return terms;
}

std::optional<Row> OdbcRecordset::ReadRow(const Row& identity) {
  odbc::Statement& statement = Prepared(RowByIdentityQuery(*connection_, schema_), &full_);
  statement.Execute(identity);
  std::optional<Row> row;
  if (statement.FetchBlock(1) > 0) {
    row.emplace();
    for (size_t i = 0; i < full_.kinds.size(); ++i) {
      row->push_back(BlockValue(statement, 0, full_, i, identity));
    }
  }
  statement.Close();
  return row;
}

void OdbcRecordset::KeepRow(Row row) {
  Release();
  kept_ = std::move(row);
  state_ = State::kKept;
}

void OdbcRecordset::GoTo(const Bookmark& bookmark) {
  if (editing_) CancelUpdate();
  size_t number = bookmarks_.size();
  try {
    // Bookmarks are positions in bookmarks_; a damaged one names no record.
    number = std::stoul(bookmark.bytes);
  } catch (const std::exception&) {
    throw errors::RecordDeleted();
  }
  if (number >= bookmarks_.size()) throw errors::RecordDeleted();
  std::optional<Row> row = Guard([&] { return ReadRow(bookmarks_[number]); });
  if (!row) throw errors::RecordDeleted();
  Guard([&] { KeepRow(std::move(*row)); });
  ordinal_.reset();
}

Bookmark OdbcRecordset::LastModified() const {
  if (!last_modified_) throw errors::NoCurrentRecord();
  return Bookmark{std::to_string(*last_modified_)};
}

Bookmark OdbcRecordset::CurrentBookmark() {
  bookmarks_.push_back(Guard([&] { return CurrentIdentity(); }));
  return Bookmark{std::to_string(bookmarks_.size() - 1)};
}

// ---- counting --------------------------------------------------------------

long OdbcRecordset::RecordCount() {
  if (cached_count_ >= 0) return cached_count_;
  return Guard([&] {
    odbc::Statement& count = Prepared(CountQuery(*connection_, schema_), nullptr);
    count.Execute();
    cached_count_ = count.Fetch() ? std::stol(count.GetText(1).value_or("0")) : 0;
    count.Close();
    return cached_count_;
  });
}

long OdbcRecordset::CountBefore() {
  const Row position = CurrentOrderTerms();
  const OdbcOrderQueries& queries = Queries();
  odbc::Statement& count = Prepared(queries.CountBefore(position), nullptr);
  count.Execute(queries.BeforeParameters(position));
  const long before = count.Fetch() ? std::stol(count.GetText(1).value_or("0")) : 0;
  count.Close();
  return before;
}

double OdbcRecordset::PercentPosition() {
  if (state_ != State::kLive && state_ != State::kKept) return 0;
  // Counting the rows before the current one costs a query, so it is done only
  // when a caller asks for the position, and remembered while walking on.
  if (!ordinal_) ordinal_ = Guard([&] { return CountBefore(); });
  const long count = RecordCount();
  return count > 0 ? 100.0 * static_cast<double>(*ordinal_) / count : 0;
}

// ---- fields ----------------------------------------------------------------

int OdbcRecordset::FieldPosition(const std::string& name) const {
  const int position = schema_.column_positions.Find(name);
  if (position < 0) throw errors::ItemNotFound(name);
  return position;
}

Variant OdbcRecordset::Field(const std::string& name) const {
  return FieldAt(FieldPosition(name));
}

Variant OdbcRecordset::FieldAt(int field) const {
  if (field < 0 || field >= static_cast<int>(schema_.columns.size())) {
    throw errors::ItemNotFound(std::to_string(field));
  }
  const size_t column = identity_count_ + field;
  if (editing_) {
    const std::optional<Variant>& change = edit_changes_[field];
    return change ? *change : edit_original_[column];
  }
  if (state_ == State::kLive) return LiveValue(field);
  if (state_ == State::kKept) return kept_[column];
  throw errors::NoCurrentRecord();
}

// ---- edits -----------------------------------------------------------------

// Takes the write lock on the row: a write that changes nothing, inside the
// connection's transaction. 3260 when another user holds it past the wait.
void OdbcRecordset::LockRow(const Row& identity) {
  connection_->BeginWrite();
  try {
    Prepared(LockQuery(*connection_, schema_), nullptr).Execute(identity);
  } catch (...) {
    connection_->Rollback();
    throw;
  }
}

void OdbcRecordset::Edit() {
  if (editing_) CancelUpdate();
  Guard([&] {
    const Row identity = CurrentIdentity();
    // Pessimistic: the row's lock from here to Update. Optimistic: only let
    // go of open cursors, so the values kept for the later check are current.
    const bool take_lock = lock_edits_ && !connection_->traits().read_only;
    if (take_lock) {
      LockRow(identity);
    } else {
      connection_->DetachAll();
    }
    std::optional<Row> row = ReadRow(identity);
    if (!row) {
      if (take_lock) connection_->Rollback();
      throw errors::RecordDeleted();
    }
    edit_holds_lock_ = take_lock;
    edit_original_ = std::move(*row);
    edit_changes_.assign(schema_.columns.size(), std::nullopt);
    editing_ = true;
  });
}

void OdbcRecordset::SetField(const std::string& name, const Variant& value) {
  const int position = FieldPosition(name);
  if (!editing_) throw errors::UpdateWithoutEdit();
  edit_changes_[position] = value;
}

void OdbcRecordset::WriteChanges() {
  std::vector<int> columns;
  std::vector<Variant> parameters;
  for (size_t i = 0; i < edit_changes_.size(); ++i) {
    if (!edit_changes_[i]) continue;
    columns.push_back(static_cast<int>(i));
    parameters.push_back(*edit_changes_[i]);
  }
  if (columns.empty()) return;
  const Row identity = Identity(edit_original_);
  parameters.insert(parameters.end(), identity.begin(), identity.end());
  Prepared(UpdateQuery(*connection_, schema_, columns), nullptr).Execute(parameters);
}

void OdbcRecordset::Update() {
  if (!editing_) throw errors::UpdateWithoutEdit();
  if (connection_->traits().read_only) {
    CancelUpdate();
    throw errors::ReadOnlySource(connection_->driver() + " schrijft niet in '" +
                                 connection_->source() + "'");
  }
  const Row identity = Identity(edit_original_);
  Guard([&] {
    if (!edit_holds_lock_) {
      LockRow(identity);  // 3260 leaves the edit pending
      edit_holds_lock_ = true;
      std::optional<Row> now = ReadRow(identity);
      // Optimistic: the row must still hold what Edit read, or someone else
      // changed it meanwhile and this edit would overwrite their work.
      if (!now || *now != edit_original_) {
        CancelUpdate();
        throw now ? errors::ChangedByAnotherUser() : errors::RecordDeleted();
      }
    }
    try {
      WriteChanges();
    } catch (...) {
      editing_ = false;
      edit_holds_lock_ = false;
      connection_->Rollback();
      throw;
    }
    editing_ = false;
    edit_holds_lock_ = false;
    connection_->EndWrite();
    cached_count_ = -1;
    bookmarks_.push_back(identity);
    last_modified_ = bookmarks_.size() - 1;
    // The written row stays current, read back as the source stored it.
    if (std::optional<Row> saved = ReadRow(identity)) KeepRow(std::move(*saved));
  });
}

void OdbcRecordset::CancelUpdate() {
  if (!editing_) return;
  editing_ = false;
  edit_changes_.clear();
  if (edit_holds_lock_) {
    edit_holds_lock_ = false;
    Guard([&] { connection_->EndWrite(); });
  }
}

}  // namespace

std::unique_ptr<TableRecordset> MakeOdbcRecordset(std::shared_ptr<OdbcConnection> connection,
                                                  OdbcTableSchema schema) {
  return std::make_unique<OdbcRecordset>(std::move(connection), std::move(schema));
}

}  // namespace typrosync

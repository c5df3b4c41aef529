// The full-scan path of the ODBC engine (see odbc_recordset.h): every row
// read once, in the source's order, then each index's order kept as a
// permutation sorted in memory, stable so equal keys stay in source order.
// Reads only: Update fails with 3027.

#include <algorithm>
#include <map>
#include <optional>

#include "database/database_errors.h"
#include "database/odbc_recordset.h"

namespace typrosync {
namespace {

namespace errors = database_errors;
using Row = std::vector<Variant>;

// The sought key in the kind of the field it is compared with, so that "5"
// finds 5 and 5 finds "5".
Variant KeyAs(const Variant& key, OdbcKind kind) {
  if (key.IsNull() || key.IsEmptyKind()) return key;
  const bool numeric_field = kind == OdbcKind::kInteger || kind == OdbcKind::kDouble ||
                             kind == OdbcKind::kCurrency || kind == OdbcKind::kBoolean;
  try {
    if (numeric_field && key.kind() == Variant::Kind::kText) return Variant(key.ToDouble());
  } catch (const VbError&) {
    return key;  // not a number: finds nothing among numbers
  }
  if (!numeric_field && key.kind() != Variant::Kind::kText) return Variant(key.Text());
  return key;
}

class OdbcScanRecordset final : public TableRecordset, public OdbcAccessPathInfo {
 public:
  OdbcScanRecordset(std::shared_ptr<OdbcConnection> connection, OdbcTableSchema schema,
                    std::string reason)
      : connection_(std::move(connection)),
        schema_(std::move(schema)),
        reason_(std::move(reason)) {}

  std::string AccessPath() const override {
    return "full scan ordered in memory (" + reason_ + ")";
  }

  void SetIndex(const std::string& name) override {
    const OdbcIndex* index = schema_.FindIndex(name);
    if (index == nullptr) throw errors::NoSuchIndex(name);
    CancelUpdate();
    index_ = index;
    current_.reset();
    at_end_ = false;
  }
  std::string Index() const override { return index_ ? index_->name : std::string(); }

  void Seek(const Variant& key) override {
    if (index_ == nullptr) throw errors::NoCurrentIndex();
    CancelUpdate();
    const std::vector<size_t>& order = Order();
    const int column = index_->columns.front();
    const Variant sought = KeyAs(key, schema_.columns[column].kind);
    auto place =
        std::lower_bound(order.begin(), order.end(), sought, [&](size_t row, const Variant& value) {
          return CompareKeys(rows_[row][column], value) < 0;
        });
    // Only the index's first field is sought, as a seek with one key does; the
    // first of equal keys in the stable order is the one the source gave first.
    no_match_ = place == order.end() || CompareKeys(rows_[*place][column], sought) != 0;
    current_.reset();
    at_end_ = false;
    if (!no_match_) current_ = static_cast<size_t>(place - order.begin());
  }
  bool NoMatch() const override { return no_match_; }

  void MoveFirst() override {
    CancelUpdate();
    const std::vector<size_t>& order = Order();
    at_end_ = order.empty();
    current_ = at_end_ ? std::nullopt : std::optional<size_t>(0);
  }
  void MoveNext() override {
    CancelUpdate();
    if (!current_) throw errors::NoCurrentRecord();
    if (++*current_ >= Order().size()) {
      current_.reset();
      at_end_ = true;
    }
  }
  bool IsEOF() const override { return at_end_; }

  long RecordCount() override {
    Load();
    return static_cast<long>(rows_.size());
  }
  double PercentPosition() override {
    if (!current_ || rows_.empty()) return 0;
    return 100.0 * static_cast<double>(*current_) / static_cast<double>(rows_.size());
  }

  Variant Field(const std::string& name) const override { return FieldAt(FieldIndex(name)); }
  int FieldIndex(const std::string& name) const override {
    const int position = schema_.column_positions.Find(name);
    if (position < 0) throw errors::ItemNotFound(name);
    return position;
  }
  Variant FieldAt(int position) const override {
    if (position < 0 || position >= static_cast<int>(schema_.columns.size())) {
      throw errors::ItemNotFound(std::to_string(position));
    }
    // During an edit a field reads back what was set, as with a writable source.
    if (editing_ && changes_[position]) return *changes_[position];
    if (!current_) throw errors::NoCurrentRecord();
    return rows_[CurrentRow()][position];
  }

  void Edit() override {
    if (!current_) throw errors::NoCurrentRecord();
    changes_.assign(schema_.columns.size(), std::nullopt);
    editing_ = true;
  }
  void SetField(const std::string& name, const Variant& value) override {
    const int position = schema_.column_positions.Find(name);
    if (position < 0) throw errors::ItemNotFound(name);
    if (!editing_) throw errors::UpdateWithoutEdit();
    changes_[position] = value;
  }
  void Update() override {
    if (!editing_) throw errors::UpdateWithoutEdit();
    // The edit is dropped first, so the record can be moved from after the error.
    CancelUpdate();
    throw errors::ReadOnlySource(connection_->driver() + " leest '" + schema_.name + "' alleen (" +
                                 reason_ + ")");
  }
  void CancelUpdate() override {
    editing_ = false;
    changes_.clear();
  }

  // Nothing is ever written here, so there is no last modified record to go to.
  Bookmark LastModified() const override { throw errors::NoCurrentRecord(); }
  // A bookmark is the row's place in the source's order.
  Bookmark CurrentBookmark() override {
    if (!current_) throw errors::NoCurrentRecord();
    return Bookmark{std::to_string(CurrentRow())};
  }
  void GoTo(const Bookmark& bookmark) override {
    CancelUpdate();
    size_t row = 0;
    try {
      row = std::stoul(bookmark.bytes);
    } catch (const std::exception&) {
      throw errors::RecordDeleted();
    }
    const std::vector<size_t>& order = Order();
    const auto place = std::find(order.begin(), order.end(), row);
    if (place == order.end()) throw errors::RecordDeleted();
    current_ = static_cast<size_t>(place - order.begin());
    at_end_ = false;
  }
  void SetLockEdits(bool lock_edits) override { lock_edits_ = lock_edits; }
  bool LockEdits() const override { return lock_edits_; }

 private:
  size_t CurrentRow() const {
    return index_ == nullptr ? *current_ : orders_.at(index_)[*current_];
  }

  // Every row, read once on first use, each field as text (the one way the
  // simple drivers convert every type).
  void Load() {
    if (loaded_) return;
    Translated(*connection_, [&] {
      auto statement = connection_->NewStatement();
      statement->ExecuteDirect("SELECT * FROM " + connection_->Quote(schema_.name));
      while (statement->Fetch()) {
        Row row;
        row.reserve(schema_.columns.size());
        for (size_t i = 0; i < schema_.columns.size(); ++i) {
          row.push_back(
              TextValue(statement->GetText(static_cast<int>(i) + 1), schema_.columns[i].kind));
        }
        rows_.push_back(std::move(row));
      }
      statement->Close();
    });
    loaded_ = true;
  }

  const std::vector<size_t>& Order() {
    Load();
    std::vector<size_t>& order = orders_[index_];
    // Built once per index; the rows never change after the one load.
    if (order.size() == rows_.size()) return order;
    order.resize(rows_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    // Without an index the order is the source's own.
    if (index_ == nullptr) return order;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      for (int column : index_->columns) {
        const int compared = CompareKeys(rows_[a][column], rows_[b][column]);
        if (compared != 0) return compared < 0;
      }
      return false;
    });
    return order;
  }

  std::shared_ptr<OdbcConnection> connection_;
  OdbcTableSchema schema_;
  std::string reason_;
  bool loaded_ = false;
  std::vector<Row> rows_;
  // Keyed by the index in schema_, which lives as long as this recordset.
  std::map<const OdbcIndex*, std::vector<size_t>> orders_;
  const OdbcIndex* index_ = nullptr;
  std::optional<size_t> current_;  // place in the current order
  bool at_end_ = false;
  bool no_match_ = false;
  bool lock_edits_ = true;
  bool editing_ = false;
  std::vector<std::optional<Variant>> changes_;
};

}  // namespace

std::unique_ptr<TableRecordset> MakeOdbcScanRecordset(std::shared_ptr<OdbcConnection> connection,
                                                      OdbcTableSchema schema, std::string reason) {
  return std::make_unique<OdbcScanRecordset>(std::move(connection), std::move(schema),
                                             std::move(reason));
}

}  // namespace typrosync

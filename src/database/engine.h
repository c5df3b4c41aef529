#pragma once
// The database engine as the administration code sees it: databases that open
// table recordsets by name, and table recordsets with a current index, seek,
// move, field access and edits. Only this interface is used by callers, so a
// second engine (ODBC) can be added beside the SQLite one.
//
// Failures throw VbError with the engine's error number and text (for
// example 3078 for a missing table, 3021 for no current record, 3260 for a
// record locked by another user). Expected outcomes (no match, end of the
// recordset) are results.

#include <memory>
#include <optional>
#include <string>

#include "common/variant.h"

namespace typrosync {

// Opaque position of a record, good for the recordset that handed it out.
struct Bookmark {
  std::string bytes;
  friend bool operator==(const Bookmark&, const Bookmark&) = default;
};

class TableRecordset {
 public:
  virtual ~TableRecordset() = default;

  // Chooses the current index by name, without regard to case; error 3800
  // when the table has no such index. Leaves no current record.
  virtual void SetIndex(const std::string& name) = 0;
  virtual std::string Index() const = 0;

  // Seek "=" on the current index's first field. Sets NoMatch(); on a match
  // the record becomes current, otherwise there is no current record.
  virtual void Seek(const Variant& key) = 0;
  virtual bool NoMatch() const = 0;

  // In index order (insertion order without an index). MoveFirst on an
  // empty table leaves EOF() true; MoveNext past the end is error 3021.
  virtual void MoveFirst() = 0;
  virtual void MoveNext() = 0;
  virtual bool IsEOF() const = 0;

  virtual long RecordCount() = 0;
  // Position of the current record in percent (0 when there is none).
  virtual double PercentPosition() = 0;

  // The current record's field, named without regard to case. Error 3021
  // without a current record, 3265 for an unknown field.
  virtual Variant Field(const std::string& name) const = 0;
  // The same by the field's position, which FieldIndex gives once for the
  // life of the recordset: a caller reading the same fields of many records
  // need not look their names up each time. Error 3265 for an unknown name
  // or a position out of range.
  virtual int FieldIndex(const std::string& name) const = 0;
  virtual Variant FieldAt(int index) const = 0;

  // Edit, set fields, Update. With LockEdits true the write lock is taken
  // at Edit and held to Update; false takes it only inside Update, which
  // fails with 3197 when the record changed since Edit. A lock held by
  // another user past the busy time-out is error 3260.
  virtual void Edit() = 0;
  virtual void SetField(const std::string& name, const Variant& value) = 0;
  virtual void Update() = 0;
  virtual void CancelUpdate() = 0;

  virtual Bookmark LastModified() const = 0;
  // The current record's bookmark; error 3021 without a current record.
  virtual Bookmark CurrentBookmark() = 0;
  virtual void GoTo(const Bookmark& bookmark) = 0;

  virtual void SetLockEdits(bool lock_edits) = 0;
  virtual bool LockEdits() const = 0;
};

class Database {
 public:
  virtual ~Database() = default;
  // A table-type recordset, on its first record in insertion order (EOF
  // when the table is empty); error 3078 when the table does not exist.
  virtual std::unique_ptr<TableRecordset> OpenTable(const std::string& table) = 0;
  // A number that changes once this connection can see a commit by another
  // connection to the file; nullopt when the engine cannot tell, so nothing
  // read may be kept for later.
  virtual std::optional<long long> OtherWritersVersion() { return std::nullopt; }
};

class DatabaseEngine {
 public:
  virtual ~DatabaseEngine() = default;
  // Prepares the file for shared use by several processes (the step that
  // sets record-level locking). Throws VbError when the file cannot be used.
  virtual void PrepareSharedUse(const std::string& path, const std::string& password) = 0;
  // Opens shared and writable; throws VbError on a missing file, a wrong
  // password, a file that is not a whole database of this engine or one this
  // process may not write. A refused file is left as it was.
  virtual std::unique_ptr<Database> OpenDatabase(const std::string& path,
                                                 const std::string& password) = 0;
};

}  // namespace typrosync

#pragma once
// One field of one recordset, read by its position: the name is looked up
// on the first read only, so a loop over many records pays for it once. A
// name the table lacks fails on that first read (3265), as Field does.

#include <string>

#include "database/engine.h"

namespace typrosync {

class RecordField {
 public:
  // `recordset` must outlive this field.
  RecordField(const TableRecordset& recordset, const char* name)
      : recordset_(recordset), name_(name) {}

  // The current record's value.
  Variant Value() {
    if (position_ < 0) position_ = recordset_.FieldIndex(name_);
    return recordset_.FieldAt(position_);
  }
  std::string Text() { return Value().Text(); }

 private:
  const TableRecordset& recordset_;
  const char* name_;
  int position_ = -1;
};

}  // namespace typrosync

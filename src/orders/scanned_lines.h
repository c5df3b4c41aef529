#pragma once
// What the order scan keeps so that each customer's lines need not be read
// again: per customer the lines that may be pending (voucher, year and
// article passed and not delivered when scanned), by bookmark and order
// number, and the delivery mark of every order, kept current as the run
// stamps. It holds only while the connection sees no other program's
// writes: the administration program is used side by side, so before each
// customer the caller compares the database's version with the one taken
// before anything was kept, and reads afresh once it differs.

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "database/engine.h"

namespace typrosync {

struct OrderContext;

class ScannedLines {
 public:
  struct Line {
    Bookmark where;
    long long order;
    // Its row cannot fail: the amount fields hold numbers the row's
    // arithmetic takes without an error (see AmountsCannotFail).
    bool plain;
  };

  // Reads the delivery marks and readies the scan of Ordergegevens, which
  // must follow at once in insertion order. Nullopt when the engine cannot
  // tell other writers' changes, or when the tables hold values that a
  // search by text would not find as kept here (case variants, numbers kept
  // as text, missing fields): then everything is read afresh, as before.
  static std::optional<ScannedLines> Start(OrderContext& ctx);

  // Called for every record of the scan, on the current record.
  void Keep(OrderContext& ctx, TableRecordset& orders);
  // After the scan: false when a search of the RelNr index by text would not
  // find the numbers kept (what was kept must then be dropped).
  bool Finish(TableRecordset& orders);

  // The customer's candidate lines in the order of the RelNr index, or null
  // when they must be read afresh.
  const std::vector<Line>* LinesOf(const std::string& relnr) const;
  // Whether the order's first meta record carries a delivery mark.
  bool Delivered(long long order) const;
  // After the run stamped the meta record of `order` (as the line holds
  // it) with `mark`; false when that record is not one kept here (what was
  // kept must then be dropped).
  bool Stamped(const Variant& order, const Variant& mark);

  // Whether the connection has seen no other writer since Start.
  bool StillCurrent(Database& db) const { return db.OtherWritersVersion() == version_; }

 private:
  struct Customer {
    std::string text;  // RelNr exactly as read
    Variant::Kind kind = Variant::Kind::kEmpty;
    bool usable = true;
    std::vector<Line> lines;
  };
  struct Positions {
    int customer, order, order_date, voucher, article;
    // The amount fields in LineAmountInput's order; -1 when the table lacks
    // one (no line is plain then).
    int amounts[5];
  };

  bool Plain(TableRecordset& orders) const;

  ScannedLines(long long version, Positions positions) : version_(version), at_(positions) {}
  bool ReadMarks(TableRecordset& meta);

  std::optional<long long> version_;
  Positions at_;
  std::optional<Variant> probe_;  // a whole-number RelNr to search for
  std::unordered_map<long long, bool> delivered_;
  // By RelNr in upper case, as the index compares it.
  std::unordered_map<std::string, Customer> customers_;
};

// The whole-number value of an integer Variant; nullopt for any other.
std::optional<long long> WholeNumber(const Variant& value);

}  // namespace typrosync

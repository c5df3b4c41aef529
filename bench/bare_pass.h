#pragma once
// The bare SQLite pass of one sync run, written straight against the file:
// a full scan of Ordergegevens for the candidate customers, per customer its
// lines through the RelNr index with the meta look-ups, the routing and the
// same stamp updates (each its own transaction, as durable as the run's).
// The yardstick the benchmarks hold the whole program against.

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "orders/routing.h"

namespace typrosync::bench {

inline constexpr const char* kStempel = "20261205210000";

class Bare {
 public:
  explicit Bare(const std::string& data_map) {
    if (sqlite3_open((data_map + "TallyraDB.mdb").c_str(), &db_) != SQLITE_OK) {
      throw std::runtime_error("open");
    }
    sqlite3_busy_timeout(db_, 5000);
    Exec("PRAGMA journal_mode=WAL");
  }
  ~Bare() {
    for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
    sqlite3_close(db_);
  }

  sqlite3_stmt* Prepared(const std::string& sql) {
    sqlite3_stmt*& stmt = statements_[sql];
    if (stmt == nullptr && sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      throw std::runtime_error(sqlite3_errmsg(db_));
    }
    sqlite3_reset(stmt);
    return stmt;
  }
  void Exec(const char* sql) { sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

 private:
  sqlite3* db_ = nullptr;
  std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

inline std::string Text(sqlite3_stmt* stmt, int column) {
  const unsigned char* text = sqlite3_column_text(stmt, column);
  return text == nullptr ? std::string() : reinterpret_cast<const char*>(text);
}

struct Pending {
  sqlite3_int64 relnr;
  std::vector<sqlite3_int64> orders;  // one per pending line
};

inline std::unordered_set<std::string> ArticlesWithAdmission(Bare& db) {
  std::unordered_set<std::string> articles;
  sqlite3_stmt* scan = db.Prepared("SELECT Artikelnummer, ToelatingsNummer FROM Artikelen");
  while (sqlite3_step(scan) == SQLITE_ROW) {
    if (!Text(scan, 1).empty()) articles.insert(Text(scan, 0));
  }
  return articles;
}

inline std::vector<sqlite3_int64> Customers(Bare& db) {
  std::vector<sqlite3_int64> customers;
  std::unordered_set<sqlite3_int64> seen;
  sqlite3_stmt* scan =
      db.Prepared("SELECT MagazijnBonNr, RelNr, OrderNr FROM Ordergegevens ORDER BY rowid");
  while (sqlite3_step(scan) == SQLITE_ROW) {
    if (Text(scan, 0).empty()) continue;
    if (seen.insert(sqlite3_column_int64(scan, 1)).second) {
      customers.push_back(sqlite3_column_int64(scan, 1));
    }
  }
  return customers;
}

inline bool Delivered(Bare& db, sqlite3_int64 order) {
  sqlite3_stmt* meta = db.Prepared(
      "SELECT LeveringNaarAgroVision, LeveringNaarDacom FROM OrderGegevensMeta "
      "WHERE OrderNr COLLATE NOCASE = ?1");
  sqlite3_bind_int64(meta, 1, order);
  return sqlite3_step(meta) == SQLITE_ROW && (!Text(meta, 0).empty() || !Text(meta, 1).empty());
}

inline std::vector<sqlite3_int64> PendingOrders(Bare& db, sqlite3_int64 relnr,
                                         const std::unordered_set<std::string>& articles) {
  std::vector<sqlite3_int64> orders;
  sqlite3_stmt* lines = db.Prepared(
      "SELECT OrderDatum, MagazijnBonNr, OrderNr, ArtNr FROM Ordergegevens "
      "WHERE RelNr COLLATE NOCASE = ?1 ORDER BY RelNr COLLATE NOCASE, rowid");
  sqlite3_bind_int64(lines, 1, relnr);
  while (sqlite3_step(lines) == SQLITE_ROW) {
    if (Text(lines, 0).substr(0, 4) < "2018" || Text(lines, 1).empty()) continue;
    const sqlite3_int64 order = sqlite3_column_int64(lines, 2);
    if (Delivered(db, order) || !articles.contains(Text(lines, 3))) continue;
    orders.push_back(order);
  }
  return orders;
}

inline Destination Route(Bare& db, sqlite3_int64 relnr, const std::vector<std::string>& groups) {
  Destination destination;
  sqlite3_stmt* relatie =
      db.Prepared("SELECT Relatiegroep FROM RelatieGegevens WHERE RelNr COLLATE NOCASE = ?1");
  sqlite3_bind_int64(relatie, 1, relnr);
  if (sqlite3_step(relatie) != SQLITE_ROW) return destination;
  const std::string selection = Text(relatie, 0);
  for (size_t i = 0; i < selection.size() && i < groups.size(); ++i) {
    if (selection[i] == 'X' || selection[i] == 'x') DetermineDestination(groups[i], destination);
  }
  return destination;
}

inline void Stamp(Bare& db, const std::vector<sqlite3_int64>& orders, const char* field) {
  sqlite3_stmt* update = db.Prepared(std::string("UPDATE OrderGegevensMeta SET ") + field +
                                     " = ?1 WHERE OrderNr COLLATE NOCASE = ?2");
  for (sqlite3_int64 order : orders) {
    sqlite3_reset(update);
    sqlite3_bind_text(update, 1, kStempel, -1, SQLITE_STATIC);
    sqlite3_bind_int64(update, 2, order);
    sqlite3_step(update);
  }
}

// The whole bare pass over the data folder `data_map` (with a final "/");
// returns the number of pending lines found.
inline size_t BarePass(const std::string& data_map) {
  Bare db(data_map);
  const auto articles = ArticlesWithAdmission(db);
  std::vector<std::string> groups;
  sqlite3_stmt* codes = db.Prepared("SELECT Omschrijving FROM TabelRelatiegroepen ORDER BY Code");
  while (sqlite3_step(codes) == SQLITE_ROW) groups.push_back(Text(codes, 0));
  size_t rows = 0;
  for (sqlite3_int64 relnr : Customers(db)) {
    const std::vector<sqlite3_int64> orders = PendingOrders(db, relnr, articles);
    rows += orders.size();
    if (orders.empty()) continue;
    const Destination destination = Route(db, relnr, groups);
    if (destination.bCropR) Stamp(db, orders, "LeveringNaarDacom");
    if (destination.bAgroVision) Stamp(db, orders, "LeveringNaarAgroVision");
  }
  return rows;
}

}  // namespace typrosync::bench

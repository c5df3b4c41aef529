#pragma once
// The 159 tables of the administration in the order they are opened, with
// the database each comes from and whether its edits follow the lock file.

#include <array>
#include <cstddef>
#include <string_view>

namespace typrosync {

enum class TableSource { kAdministratie, kArchief };

struct AdministratieTable {
  std::string_view name;
  TableSource source;
  bool takes_lock_flag;  // LockEdits set from "tallyra.lock" (27 tables)
};

inline constexpr size_t kAdministratieTableCount = 159;

const std::array<AdministratieTable, kAdministratieTableCount>& AdministratieTables();

}  // namespace typrosync

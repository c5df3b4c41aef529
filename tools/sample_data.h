#pragma once
// A realistic, deterministic sample administration: the own company, code
// tables, articles (crop protection with admission numbers and ordinary
// ones), customers in routed and unrelated relation groups, and orders from
// 2016 to the end of November 2026 with their delivery marks. The same
// options always give the same rows.

#include <cstdint>
#include <string>

#include "database/sqlite_administration_writer.h"

namespace typrosync::admin {

struct SampleOptions {
  int customers = 200;
  long lines = 5000;
  uint64_t start_value = 1;  // the --seed option: same value, same sample
  int routed_percent = 60;    // share of customers in a routed relation group
};

// Writes every sample row into the new "TallyraDB.mdb" (inside the writer's
// transaction; the caller builds the indexes afterwards).
void FillSample(AdministrationWriter& tallyra, const SampleOptions& options);

}  // namespace typrosync::admin

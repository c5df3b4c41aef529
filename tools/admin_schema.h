#pragma once
// The schema typrosync-admin gives a new administration: every one of the
// 159 tables, with the fields and indexes the sync reads named exactly as it
// reads them. Tables the sync only opens get a small placeholder layout.

#include <functional>
#include <string>
#include <vector>

#include "database/sqlite_administration_writer.h"

namespace typrosync::admin {

// The definition of one of the 159 tables (by its exact name).
TableDefinition DefinitionOf(const std::string& table);

// Fills the new "TallyraDB.mdb" inside its one transaction, before the
// indexes are built (bulk inserts run faster without them).
using Filler = std::function<void(AdministrationWriter& tallyra)>;

// Creates DIR when missing and in it "TallyraDB.mdb" and "Archief.mdb" with
// every table, its indexes and the password (empty: none). Throws VbError
// when a file already exists or cannot be written.
void CreateAdministration(const std::string& dir, const std::string& password,
                          const Filler& fill = nullptr);

// DIR with a final "/".
std::string WithSeparator(const std::string& dir);

}  // namespace typrosync::admin

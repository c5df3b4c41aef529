#pragma once
// The database errors every engine throws, with the numbers the run log and
// the administration program's users know them by.

#include <string>

#include "common/vb_error.h"

namespace typrosync::database_errors {

VbError FileNotFound(const std::string& path);     // 3024
VbError NotADatabase(const std::string& path);     // 3343
VbError JetDatabase(const std::string& path);      // 3343, a file of the original engine
VbError IncompleteDatabase(const std::string& path);  // 3343, empty or cut short
VbError NotWritable(const std::string& path, const std::string& reason);  // 3051
VbError WrongPassword();                           // 3031
VbError TableNotFound(const std::string& table);   // 3078
VbError ItemNotFound(const std::string& name);     // 3265
VbError NoSuchIndex(const std::string& index);     // 3800
VbError NoCurrentIndex();                          // 3019
VbError NoCurrentRecord();                         // 3021
VbError UpdateWithoutEdit();                       // 3020
VbError RecordDeleted();                           // 3167
VbError ChangedByAnotherUser();                    // 3197
VbError RecordLocked();                            // 3260
VbError EngineFailure(const std::string& detail);  // 3000
// An ODBC source the driver would not open (3151) or cannot write (3027).
VbError SourceNotOpened(const std::string& source, const std::string& detail);
VbError ReadOnlySource(const std::string& detail);

}  // namespace typrosync::database_errors

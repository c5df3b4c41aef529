#include "common/file_lookup.h"

// Windows: the system's own directory search, which knows the wildcards,
// the ".*" rule and the file system's letter case.
#include <windows.h>

#include "common/windows_text.h"

namespace typrosync {

bool IsFolderSeparator(char ch) { return ch == '\\' || ch == '/'; }

char NativeFolderSeparator() { return '\\'; }

bool DirectoryEntryExists(const std::string& path) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(WideFromUtf8(path).c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

}  // namespace typrosync

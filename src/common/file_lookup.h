#pragma once
// The platform's side of the file look-up and of folder paths:
// file_lookup.cpp asks POSIX (names exact, "/" only), file_lookup_windows.cpp
// asks FindFirstFileW (the file system's letter-case rule, "\" and "/").

#include <string>

namespace typrosync {

// True for a character that ends a folder in a path on this platform.
bool IsFolderSeparator(char ch);

// The separator added to a folder that has none.
char NativeFolderSeparator();

// True when some directory entry (file or folder) matches `path`; the
// wildcards * and ? act in its last component, and a pattern ending in ".*"
// also matches names without a dot.
bool DirectoryEntryExists(const std::string& path);

}  // namespace typrosync

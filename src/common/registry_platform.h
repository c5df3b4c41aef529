#pragma once
// The three registry calls the reader needs, shaped like their advapi32
// counterparts (RegOpenKeyA, RegQueryValueExA, RegCloseKey) and answering the
// same status numbers. registry_wine.cpp serves them from Wine's registry
// files; a Windows build would put advapi32 behind the same declarations.

#include <cstdint>
#include <string>

namespace typrosync::registry_platform {

inline constexpr long kSuccess = 0;        // ERROR_SUCCESS
inline constexpr long kFileNotFound = 2;   // ERROR_FILE_NOT_FOUND
inline constexpr long kInvalidHandle = 6;  // ERROR_INVALID_HANDLE
inline constexpr long kMoreData = 234;     // ERROR_MORE_DATA

// Opens `sub_key` under `parent` (a predefined root or an open key) and puts
// the new key's handle in `key`.
long OpenKey(uint32_t parent, const std::string& sub_key, uint32_t& key);

// Gives the value's type and size in bytes. With `buffer`, also copies the
// data to its start when `size` (the buffer's usable size) is large enough;
// otherwise answers kMoreData. `size` then holds the data's size.
long QueryValue(uint32_t key, const std::string& name, uint32_t& type, std::string* buffer,
                uint32_t& size);

// Forgets an open key.
long CloseKey(uint32_t key);

}  // namespace typrosync::registry_platform

#pragma once
// The three registry calls the reader needs, shaped like their advapi32
// counterparts (RegOpenKey, RegQueryValueEx, RegCloseKey) and answering the
// same status numbers. registry_wine.cpp serves them from Wine's registry
// files, registry_windows.cpp from advapi32. The keys a reader has open are
// its own: handles are small numbers that mean something only to the
// OpenKeys that gave them.

#include <cstdint>
#include <memory>
#include <string>

namespace typrosync::registry_platform {

inline constexpr long kSuccess = 0;        // ERROR_SUCCESS
inline constexpr long kFileNotFound = 2;   // ERROR_FILE_NOT_FOUND
inline constexpr long kInvalidHandle = 6;  // ERROR_INVALID_HANDLE
inline constexpr long kMoreData = 234;     // ERROR_MORE_DATA

// Not shared between threads.
class OpenKeys {
 public:
  OpenKeys();
  ~OpenKeys();  // closes the keys still open
  OpenKeys(const OpenKeys&) = delete;
  OpenKeys& operator=(const OpenKeys&) = delete;

  // Opens `sub_key` under `parent` (a predefined root or a key open here)
  // and puts the new key's handle in `key`.
  long OpenKey(uint32_t parent, const std::string& sub_key, uint32_t& key);

  // Gives the value's type and size in bytes (texts as UTF-8 with their
  // terminating NUL). With `buffer`, also copies the data to its start when
  // `size` (the buffer's usable size) is large enough; otherwise answers
  // kMoreData. `size` then holds the data's size.
  long QueryValue(uint32_t key, const std::string& name, uint32_t& type, std::string* buffer,
                  uint32_t& size);

  // Forgets an open key.
  long CloseKey(uint32_t key);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace typrosync::registry_platform

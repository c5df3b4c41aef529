#include "database/sqlite_file_check.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "database/database_errors.h"

namespace typrosync {
namespace {

constexpr size_t kHeaderSize = 100;
constexpr char kMagic[] = "SQLite format 3";  // with its NUL: 16 bytes

uint32_t BigEndian(const unsigned char* bytes, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | bytes[i];
  return value;
}

// The page size of the header: a power of two from 512 to 65536 (stored as 1).
uint32_t PageSize(const unsigned char* header) {
  const uint32_t stored = BigEndian(header + 16, 2);
  const uint32_t size = stored == 1 ? 65536 : stored;
  const bool power_of_two = size >= 512 && size <= 65536 && (size & (size - 1)) == 0;
  return power_of_two ? size : 0;
}

// Whole pages, and at least as many as the header counts when that count is
// current (its change counter matches the one it was written with).
bool IsComplete(const unsigned char* header, uint64_t file_size) {
  const uint32_t page_size = PageSize(header);
  if (page_size == 0 || file_size % page_size != 0) return false;
  const uint32_t pages = BigEndian(header + 28, 4);
  const bool count_current = BigEndian(header + 92, 4) == BigEndian(header + 24, 4);
  return !count_current || pages == 0 || file_size >= uint64_t{pages} * page_size;
}

}  // namespace

void CheckDatabaseFile(const std::string& path) {
  struct stat info = {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    throw database_errors::FileNotFound(path);
  }
  unsigned char header[kHeaderSize] = {};
  std::ifstream file(path, std::ios::binary);
  if (!file.read(reinterpret_cast<char*>(header), kHeaderSize)) {
    throw database_errors::IncompleteDatabase(path);
  }
  if (std::memcmp(header, kMagic, sizeof kMagic) != 0) throw database_errors::NotADatabase(path);
  // The size after the header: a checkpoint of another user in between only
  // makes the file longer than its header says, which passes.
  if (stat(path.c_str(), &info) != 0 || !IsComplete(header, static_cast<uint64_t>(info.st_size))) {
    throw database_errors::IncompleteDatabase(path);
  }
  if (access(path.c_str(), W_OK) != 0) {
    throw database_errors::NotWritable(path, std::strerror(errno));
  }
}

}  // namespace typrosync

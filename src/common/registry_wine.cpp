// The registry calls served from Wine's registry files. Opening a key reads
// its hive file and keeps a copy of the key's values among the open keys;
// the handle is their number there.

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "common/registry.h"
#include "common/registry_platform.h"
#include "common/wine_registry_file.h"

namespace typrosync::registry_platform {
namespace {

struct OpenKeyEntry {
  std::string hive_file;
  std::vector<std::string> path;
  std::vector<RegistryValue> values;
};

std::string WinePrefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix != nullptr && *prefix != '\0') return prefix;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.wine";
}

std::optional<std::string> HiveFile(uint32_t hive) {
  if (hive == kHkeyCurrentUser) return WinePrefix() + "/user.reg";
  if (hive == kHkeyLocalMachine) return WinePrefix() + "/system.reg";
  return std::nullopt;
}

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void AppendPath(const std::string& sub_key, std::vector<std::string>& path) {
  std::stringstream parts(sub_key);
  for (std::string part; std::getline(parts, part, '\\');) {
    if (!part.empty()) path.push_back(part);
  }
}

// The values of the key, or nullopt when it does not exist. The root of a
// hive always exists, with or without its file.
std::optional<std::vector<RegistryValue>> LoadKey(const std::string& hive_file,
                                                  const std::vector<std::string>& path) {
  const auto text = ReadFile(hive_file);
  if (!text) {
    if (path.empty()) return std::vector<RegistryValue>{};
    return std::nullopt;
  }
  auto values = FindWineRegistryKey(*text, path);
  if (!values && path.empty()) return std::vector<RegistryValue>{};
  return values;
}

}  // namespace

struct OpenKeys::Impl {
  std::unordered_map<uint32_t, OpenKeyEntry> keys;
  uint32_t next_handle = 1;
};

OpenKeys::OpenKeys() : impl_(std::make_unique<Impl>()) {}
OpenKeys::~OpenKeys() = default;

long OpenKeys::OpenKey(uint32_t parent, const std::string& sub_key, uint32_t& key) {
  OpenKeyEntry entry;
  if (const auto open = impl_->keys.find(parent); open != impl_->keys.end()) {
    entry.hive_file = open->second.hive_file;
    entry.path = open->second.path;
  } else if (const auto file = HiveFile(parent)) {
    entry.hive_file = *file;
  } else {
    return kInvalidHandle;
  }
  AppendPath(sub_key, entry.path);
  auto values = LoadKey(entry.hive_file, entry.path);
  if (!values) return kFileNotFound;
  entry.values = std::move(*values);
  key = impl_->next_handle++;
  impl_->keys.emplace(key, std::move(entry));
  return kSuccess;
}

long OpenKeys::QueryValue(uint32_t key, const std::string& name, uint32_t& type,
                          std::string* buffer, uint32_t& size) {
  const auto open = impl_->keys.find(key);
  if (open == impl_->keys.end()) return kInvalidHandle;
  for (const RegistryValue& value : open->second.values) {
    if (!EqualsIgnoringAsciiCase(value.name, name)) continue;
    type = value.type;
    const uint32_t capacity = size;
    size = static_cast<uint32_t>(value.data.size());
    if (buffer == nullptr) return kSuccess;
    if (capacity < size || buffer->size() < size) return kMoreData;
    buffer->replace(0, size, value.data);
    return kSuccess;
  }
  return kFileNotFound;
}

long OpenKeys::CloseKey(uint32_t key) {
  return impl_->keys.erase(key) == 1 ? kSuccess : kInvalidHandle;
}

}  // namespace typrosync::registry_platform

// The registry calls served by advapi32. Windows keys are pointer-sized, so
// the reader's small handles stand for them in its open keys. Texts cross in
// UTF-16 (the W functions) and are handed on as UTF-8.

#include <windows.h>

#include <cstring>
#include <unordered_map>

#include "common/registry_platform.h"
#include "common/windows_text.h"

namespace typrosync::registry_platform {
namespace {

// HKEY_CLASSES_ROOT (0x80000000) up to HKEY_CURRENT_USER_LOCAL_SETTINGS.
constexpr uint32_t kFirstPredefinedKey = 0x80000000;
constexpr uint32_t kLastPredefinedKey = 0x80000007;

// The predefined roots are 32-bit numbers the system sign-extends.
HKEY PredefinedKey(uint32_t number) {
  return reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(number)));
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The value's type and data as the reader sees them: texts as UTF-8 (a
// terminating NUL kept), other types as their bytes.
long ReadValue(HKEY key, const std::string& name, uint32_t& type, std::string& data) {
  const std::wstring wide_name = WideFromUtf8(name);
  DWORD value_type = 0;
  DWORD bytes = 0;
  LONG status = RegQueryValueExW(key, wide_name.c_str(), nullptr, &value_type, nullptr, &bytes);
  if (status != ERROR_SUCCESS) return status;
  std::string raw(bytes, '\0');
  // The value may grow between the two calls; the second then says so.
  status = RegQueryValueExW(key, wide_name.c_str(), nullptr, &value_type,
                            reinterpret_cast<BYTE*>(raw.data()), &bytes);
  if (status != ERROR_SUCCESS) return status;
  raw.resize(bytes);
  type = value_type;
  if (!IsText(value_type)) {
    data = std::move(raw);
    return ERROR_SUCCESS;
  }
  std::wstring text(raw.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), raw.data(), text.size() * sizeof(wchar_t));
  data = Utf8FromWide(text);
  return ERROR_SUCCESS;
}

}  // namespace

struct OpenKeys::Impl {
  std::unordered_map<uint32_t, HKEY> keys;
  uint32_t next_handle = 1;

  // The Windows key a handle or predefined root stands for; null if none.
  HKEY Find(uint32_t handle) const {
    if (const auto open = keys.find(handle); open != keys.end()) return open->second;
    if (handle >= kFirstPredefinedKey && handle <= kLastPredefinedKey) {
      return PredefinedKey(handle);
    }
    return nullptr;
  }
};

OpenKeys::OpenKeys() : impl_(std::make_unique<Impl>()) {}

OpenKeys::~OpenKeys() {
  for (const auto& [handle, key] : impl_->keys) RegCloseKey(key);
}

long OpenKeys::OpenKey(uint32_t parent, const std::string& sub_key, uint32_t& key) {
  HKEY parent_key = impl_->Find(parent);
  if (parent_key == nullptr) return kInvalidHandle;
  HKEY opened = nullptr;
  const LONG status =
      RegOpenKeyExW(parent_key, WideFromUtf8(sub_key).c_str(), 0, KEY_READ, &opened);
  if (status != ERROR_SUCCESS) return status;
  key = impl_->next_handle++;
  impl_->keys.emplace(key, opened);
  return kSuccess;
}

long OpenKeys::QueryValue(uint32_t key, const std::string& name, uint32_t& type,
                          std::string* buffer, uint32_t& size) {
  const auto open = impl_->keys.find(key);
  if (open == impl_->keys.end()) return kInvalidHandle;
  std::string data;
  const long status = ReadValue(open->second, name, type, data);
  if (status != ERROR_SUCCESS) return status;
  const uint32_t capacity = size;
  size = static_cast<uint32_t>(data.size());
  if (buffer == nullptr) return kSuccess;
  if (capacity < size || buffer->size() < size) return kMoreData;
  buffer->replace(0, size, data);
  return kSuccess;
}

long OpenKeys::CloseKey(uint32_t key) {
  const auto open = impl_->keys.find(key);
  if (open == impl_->keys.end()) return kInvalidHandle;
  RegCloseKey(open->second);
  impl_->keys.erase(open);
  return kSuccess;
}

}  // namespace typrosync::registry_platform

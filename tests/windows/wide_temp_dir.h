#pragma once
// A fresh folder under Windows's temp folder with a name outside ASCII, so
// that every call on it must pass UTF-16; removed with its contents.

#include <windows.h>

#include <filesystem>
#include <string>

#include "common/windows_text.h"

namespace typrosync::test_support {

class WideTempDir {
 public:
  WideTempDir() {
    static int made = 0;
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    path_ = std::filesystem::path(base) / (L"typro-\u00e9t\u00e9-" +
                                           std::to_wstring(GetCurrentProcessId()) + L"-" +
                                           std::to_wstring(++made));
    std::filesystem::create_directories(path_);
  }
  ~WideTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  WideTempDir(const WideTempDir&) = delete;
  WideTempDir& operator=(const WideTempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string utf8() const { return Utf8FromWide(path_.wstring()) + "/"; }

 private:
  std::filesystem::path path_;
};

}  // namespace typrosync::test_support

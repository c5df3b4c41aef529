// The file look-up and folder paths on Windows (under Wine here): the
// system's directory search, names without regard to letter case, and
// Windows paths with "\" as well as "/".

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/file_helpers.h"
#include "common/test_support.h"
#include "common/windows_text.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;
using test_support::Joined;

// A fresh folder as a Windows path with "\" separators and no final one.
class LookupFolder {
 public:
  LookupFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    path_ = fs::path(base) / (L"typro-files-" + std::to_wstring(GetCurrentProcessId()));
    fs::create_directories(path_ / L"sub");
    fs::create_directories(path_ / L"empty");
    std::ofstream(path_ / L"tallyra.pwd") << "x";
    std::ofstream(path_ / L"README") << "x";
  }
  ~LookupFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string utf8() const { return Utf8FromWide(path_.wstring()); }

 private:
  fs::path path_;
};

// As on Linux, but the letter case does not count, and "\" separates as
// "/" does: a path ending in either asks for any entry of that folder.
TEST(WindowsFileLookupTest, BestaatBestandOnARealFolder) {
  LookupFolder folder;
  const auto exists = [&](const std::string& name) {
    std::string path = folder.utf8() + "\\" + name;
    const bool found = BestaatBestand(path);
    return path.substr(folder.utf8().size() + 1) + (found ? "+" : "-");
  };
  EXPECT_EQ(Joined({"tallyra.pwd", "TALLYRA.PWD", "sub", "t*a.p?d", "T*A.P?D", "*.xyz",
                    "README.*", "?", "x?", "sub\\*", "sub/*", "missing\\*.*", "", "empty\\",
                    "empty/", "missing\\", "SUB\\"},
                   exists),
            "tallyra.pwd+|TALLYRA.PWD+|sub+|t*a.p?d+|T*A.P?D+|*.xyz-|README.*+|?+|x?-|sub\\*+|"
            "sub/*+|missing\\*.*-|*.*+|empty\\*.*+|empty/*.*+|missing\\*.*-|SUB\\*.*+");
  std::string empty;
  EXPECT_FALSE(BestaatBestand(empty));
}

// A data folder ending in "\" or "/" keeps it; one without gets "\".
TEST(WindowsFileLookupTest, DataFolderFinalSeparator) {
  EXPECT_EQ(Joined({"C:\\Brenvik\\Korvath\\302021\\", "C:/Brenvik/Korvath/302021/",
                    "C:\\Brenvik\\Korvath\\302021", "\\\\server\\deel", ""},
                   [](const char* folder) { return WithFinalSlash(folder); }),
            "C:\\Brenvik\\Korvath\\302021\\|C:/Brenvik/Korvath/302021/|"
            "C:\\Brenvik\\Korvath\\302021\\|\\\\server\\deel\\|");
}

}  // namespace
}  // namespace typrosync

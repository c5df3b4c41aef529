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
#include "windows/wide_temp_dir.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;
using test_support::Joined;

// As on Linux, but the letter case does not count, and "\" separates as
// "/" does: a path ending in either asks for any entry of that folder.
TEST(WindowsFileLookupTest, BestaatBestandOnARealFolder) {
  test_support::WideTempDir dir;
  fs::create_directories(dir.path() / L"sub");
  fs::create_directories(dir.path() / L"empty");
  std::ofstream(dir.path() / L"tallyra.pwd") << "x";
  std::ofstream(dir.path() / L"README") << "x";
  const std::string folder = Utf8FromWide(dir.path().wstring()) + "\\";
  const auto exists = [&](const std::string& name) {
    std::string path = folder + name;
    const bool found = BestaatBestand(path);
    return path.substr(folder.size()) + (found ? "+" : "-");
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

// The FTP client over WinINet, under Wine, against the local FTP servers
// that with_servers.py starts on the Linux side.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/windows_text.h"
#include "transport/ftp_client_tests.h"
#include "windows/wide_temp_dir.h"

namespace typrosync {
namespace {

std::string Environment(const std::string& name) {
  const char* value = std::getenv(("TYPROSYNC_TEST_FTP_" + name).c_str());
  return value == nullptr ? "" : value;
}

// The servers the wrapper started, by kind; their folders are Linux paths,
// which Wine shows under drive Z:.
class WinInetServers {
 public:
  int Port(const std::string& kind) const {
    const int port = std::atoi(Environment(kind + "PORT").c_str());
    EXPECT_GT(port, 0) << "run through with_servers.py";
    return port;
  }
  std::string Root(const std::string& kind) const { return "Z:" + Environment(kind + "ROOT"); }
  std::string Local() const { return data_.utf8() + "local.bin"; }
  // "\"-separated and ending in "\", as a Windows user gives it; its
  // non-ASCII name must reach every file call in UTF-16.
  std::string DataFolder() const {
    std::filesystem::create_directories(data_.path() / L"K\u00f6rvath" / L"302021");
    return Utf8FromWide(data_.path().wstring()) + "\\K\xc3\xb6rvath\\302021\\";
  }

 private:
  test_support::WideTempDir data_;
};

}  // namespace

namespace ftp_tests {
INSTANTIATE_TYPED_TEST_SUITE_P(WinInet, FtpClientTest, WinInetServers);
}  // namespace ftp_tests
}  // namespace typrosync

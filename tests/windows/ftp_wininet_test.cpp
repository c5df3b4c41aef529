// The FTP client over WinINet, under Wine, against the local FTP servers
// that with_servers.py starts on the Linux side.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/windows_text.h"
#include "transport/ftp_client_tests.h"
#include "transport/ftp_errors.h"
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

// Log-in and connection failures carry WinINet's numbers.
TEST(WinInetFtpTest, WrongPasswordAndRefusedConnection) {
  const int port = WinInetServers().Port("");
  cFTP ftp({port, 10000, 5000, {}});
  EXPECT_FALSE(ftp.OpenConnection("127.0.0.1", "agro", "fout"));
  EXPECT_FALSE(ftp.IsConnected());
  // Windows names the wrong password, Wine the failed log-in: both are
  // WinINet's own numbers for a refused log-in.
  const std::string text = ftp.GetLastErrorMessage();
  EXPECT_TRUE(text == FtpErrorText(kErrorInternetIncorrectPassword) ||
              text == FtpErrorText(kErrorInternetLoginFailure))
      << text;

  // A bound socket that does not listen refuses every connection.
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  SOCKET socket_handle = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  auto* generic = reinterpret_cast<sockaddr*>(&address);
  ASSERT_EQ(bind(socket_handle, generic, length), 0);
  ASSERT_EQ(getsockname(socket_handle, generic, &length), 0);
  cFTP refused({ntohs(address.sin_port), 10000, 5000, {}});
  EXPECT_FALSE(refused.OpenConnection("127.0.0.1", "agro", "geheim"));
  EXPECT_EQ(refused.GetLastErrorMessage(),
            "Foutmelding (12029)\r\n\r\nEr kan geen verbinding met de server worden gemaakt.\r\n");
  closesocket(socket_handle);
  WSACleanup();
}

}  // namespace

namespace ftp_tests {
INSTANTIATE_TYPED_TEST_SUITE_P(WinInet, FtpClientTest, WinInetServers);
}  // namespace ftp_tests
}  // namespace typrosync

// The FTP client over WinINet, under Wine, against the local FTP servers
// that with-ftp-servers.sh starts on the Linux side.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "common/file_helpers.h"
#include "common/windows_text.h"
#include "transport/ftp_client.h"
#include "transport/ftp_delivery.h"
#include "transport/ftp_errors.h"

namespace typrosync {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? "" : value;
}

// The servers' folders are Linux paths; Wine shows the root as drive Z:.
std::string WindowsPath(const std::string& linux_path) { return "Z:" + linux_path; }

std::string ReadBytes(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(PathFromUtf8(path), std::ios::binary | std::ios::trunc) << bytes;
}

// Every byte value, line ends of both kinds and a size of several blocks.
std::string AllByteValues() {
  std::string bytes = "regel\r\nregel\nregel\r";
  for (int round = 0; round < 40; ++round)
    for (int value = 0; value < 256; ++value) bytes += static_cast<char>(value);
  return bytes;
}

struct Server {
  int port = 0;
  std::string root;  // Windows path with a final "/"
};

Server ServerNamed(const std::string& name) {
  std::string prefix = "TYPROSYNC_TEST_FTP_" + name;
  return {std::atoi(Environment((prefix + "PORT").c_str()).c_str()),
          WindowsPath(Environment((prefix + "ROOT").c_str()))};
}

class WinInetFtpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = ServerNamed("");
    ASSERT_GT(server_.port, 0) << "run through with-ftp-servers.sh";
    local_ = server_.root + "../local-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bin";
  }
  FtpClientOptions Options(int port) const {
    FtpClientOptions options;
    options.port = port;
    options.connect_timeout_ms = 10000;
    options.response_timeout_ms = 5000;
    return options;
  }

  // A fresh data folder under Windows's temp folder, "\"-separated and
  // ending in "\" as a Windows user would give it; its non-ASCII name must
  // reach every file call in UTF-16.
  std::string WindowsDataFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    data_root_ = std::wstring(base) + L"typro-ftp-" + std::to_wstring(GetCurrentProcessId());
    std::filesystem::create_directories(data_root_ / L"K\u00f6rvath" / L"302021");
    return Utf8FromWide(data_root_.wstring()) + "\\K\xc3\xb6rvath\\302021\\";
  }
  void TearDown() override {
    std::error_code ignored;
    if (!data_root_.empty()) std::filesystem::remove_all(data_root_, ignored);
  }

  Server server_;
  std::string local_;
  std::filesystem::path data_root_;
};

// Active and passive sessions: log-in, folders, uploads byte for byte in
// both transfer types, the size search through the listing, rename, delete.
// Wine's own listing reader cuts names at their first space (Windows keeps
// them), so the names searched here have none; the Linux tests cover spaces.
TEST_F(WinInetFtpTest, SessionOperationsInBothModes) {
  const std::string bytes = AllByteValues();
  const auto size = static_cast<int32_t>(bytes.size());
  WriteBytes(local_, bytes);
  for (bool passive : {false, true}) {
    SCOPED_TRACE(passive ? "passive" : "active");
    cFTP ftp(Options(server_.port));
    if (passive) ftp.SetModePassive();
    ASSERT_TRUE(ftp.OpenConnection("127.0.0.1", "agro", "geheim")) << ftp.GetLastErrorMessage();
    const std::string folder = passive ? "passieve map" : "actieve map";
    EXPECT_TRUE(ftp.CreateFTPDirectory(folder)) << ftp.GetLastErrorMessage();
    EXPECT_TRUE(ftp.SetFTPDirectory(folder)) << ftp.GetLastErrorMessage();
    EXPECT_EQ(ftp.GetFTPDirectory(), "/" + folder);
    EXPECT_TRUE(ftp.SimpleFTPPutFile(local_, "tekst.txt")) << ftp.GetLastErrorMessage();
    ftp.SetTransferBinary();
    EXPECT_TRUE(ftp.SimpleFTPPutFile(local_, "levering_12.xml")) << ftp.GetLastErrorMessage();
    EXPECT_EQ(ReadBytes(server_.root + folder + "/levering_12.xml"), bytes);
    for (const char* pattern : {"levering_12.xml", "lev*.xml", "levering?12.xml"})
      EXPECT_EQ(ftp.GetFTPFileSize(pattern), size) << pattern;
    EXPECT_EQ(ftp.GetFTPFileSize("levering_13.xml"), -1);
    EXPECT_TRUE(ftp.RenameFTPFile("levering_12.xml", "hernoemd.bin"))
        << ftp.GetLastErrorMessage();
    EXPECT_EQ(ftp.GetFTPFileSize("hernoemd.bin"), size);
    EXPECT_TRUE(ftp.DeleteFTPFile("hernoemd.bin")) << ftp.GetLastErrorMessage();
    EXPECT_EQ(ftp.GetFTPFileSize("hernoemd.bin"), -1);
    EXPECT_EQ(ftp.GetLastErrorMessage(), "");
  }
}

// The block upload reports each 255-byte block, and the download brings
// the same bytes back.
TEST_F(WinInetFtpTest, BlockTransfersReportProgress) {
  const std::string bytes(600, 'x');
  WriteBytes(local_, bytes);
  cFTP ftp(Options(server_.port));
  std::vector<std::pair<int32_t, int32_t>> events;
  ftp.OnFileTransferProgress([&](int32_t done, int32_t total) { events.push_back({done, total}); });
  ftp.SetTransferBinary();
  ASSERT_TRUE(ftp.OpenConnection("127.0.0.1", "agro", "geheim")) << ftp.GetLastErrorMessage();
  std::string local = local_;
  std::string remote = " blokken.bin ";
  ASSERT_TRUE(ftp.FTPUploadFile(local, remote)) << ftp.GetLastErrorMessage();
  EXPECT_EQ(remote, "blokken.bin");
  EXPECT_EQ(events, (std::vector<std::pair<int32_t, int32_t>>{{255, 600}, {510, 600}, {600, 600}}));
  events.clear();
  std::string back = local_ + ".terug";
  ASSERT_TRUE(ftp.FTPDownloadFile(back, remote)) << ftp.GetLastErrorMessage();
  EXPECT_EQ(ReadBytes(back), bytes);
  EXPECT_EQ(events, (std::vector<std::pair<int32_t, int32_t>>{{256, 600}, {511, 600}, {600, 600}}));
}

// A refusal keeps the server's own reply line; the session goes on.
TEST_F(WinInetFtpTest, ServerRefusalKeepsTheServerReply) {
  cFTP ftp(Options(server_.port));
  ASSERT_TRUE(ftp.OpenConnection("127.0.0.1", "agro", "geheim")) << ftp.GetLastErrorMessage();
  EXPECT_FALSE(ftp.DeleteFTPFile("ontbreekt.xml"));
  const std::string text = ftp.GetLastErrorMessage();
  EXPECT_TRUE(text.starts_with("550 ") && text.ends_with("\r\n")) << text;
  EXPECT_EQ(text.find('\0'), std::string::npos);
  EXPECT_EQ(ftp.GetFTPFileSize("geen map/x.xml"), -2);
  EXPECT_TRUE(ftp.GetLastErrorMessage().starts_with("550 ")) << ftp.GetLastErrorMessage();
  EXPECT_TRUE(ftp.CreateFTPDirectory("verder")) << ftp.GetLastErrorMessage();
}

// Log-in and connection failures carry WinINet's numbers.
TEST_F(WinInetFtpTest, WrongPasswordAndRefusedConnection) {
  cFTP ftp(Options(server_.port));
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
  cFTP refused(Options(ntohs(address.sin_port)));
  EXPECT_FALSE(refused.OpenConnection("127.0.0.1", "agro", "geheim"));
  EXPECT_EQ(refused.GetLastErrorMessage(),
            "Foutmelding (12029)\r\n\r\nEr kan geen verbinding met de server worden gemaakt.\r\n");
  closesocket(socket_handle);
  WSACleanup();
}

// Below the minimum rate for a whole window a transfer fails as a time-out;
// a slow but moving one passes.
TEST_F(WinInetFtpTest, TricklingTransferFailsAndSlowOnePasses) {
  const struct {
    const char* server;
    size_t size;
    bool passes;
  } cases[] = {{"SLOW_", 1000, false}, {"MOVING_", 40000, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.server);
    Server server = ServerNamed(c.server);
    WriteBytes(server.root + "f.bin", std::string(c.size, 'x'));
    FtpClientOptions options = Options(server.port);
    options.min_rate_bytes_per_s = 1024;
    options.min_rate_window_ms = 1000;
    cFTP ftp(options);
    ftp.SetTransferBinary();
    ASSERT_TRUE(ftp.OpenConnection("127.0.0.1", "agro", "geheim")) << ftp.GetLastErrorMessage();
    EXPECT_EQ(ftp.SimpleFTPGetFile(local_, "f.bin"), c.passes);
    EXPECT_EQ(ftp.GetLastErrorMessage().find("time-out") != std::string::npos, !c.passes)
        << ftp.GetLastErrorMessage();
  }
}

class RecordingUi : public UserInterface {
 public:
  void ProcessPendingEvents() override {}
  void SetBusyPointer(bool) override {}
  void ShowMessage(const std::string& text, MessageIcon, const std::string&) override {
    boxes.push_back(text);
  }
  std::vector<std::string> boxes;
};

// The delivery from a Windows data folder (a path ending in "\"): the
// settings file found there, the message stored byte for byte over an
// active connection replacing an older file, the local copy removed; a
// refused upload shows the server's reply and keeps the local copy.
TEST_F(WinInetFtpTest, DeliveryFromAWindowsDataFolder) {
  const std::string message = "<bericht>\xc3\xa9\r\n</bericht>";
  const std::string data_map = WindowsDataFolder();
  WriteBytes(data_map + "agrovision.ini", "127.0.0.1\r\n21\r\nagro\r\ngeheim\r\n");
  const struct {
    Server server;
    FtpOutcome outcome;
    std::string box;
  } cases[] = {{server_, FtpOutcome::kUploaded, ""},
               {ServerNamed("READONLY_"), FtpOutcome::kFailed, "550 Not enough privileges.\r\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    WriteBytes(c.server.root + "1001_x.xml", "an older, longer message");
    RecordingUi ui;
    auto sender = MakeFtpSender(data_map, ui, {c.server.port, 10000, 5000});
    EXPECT_EQ(sender->VerstuurViaFTP(message, "1001_x.xml"), c.outcome);
    const bool uploaded = c.box.empty();
    EXPECT_EQ(ui.boxes, uploaded ? std::vector<std::string>{} : std::vector<std::string>{c.box});
    EXPECT_EQ(ReadBytes(c.server.root + "1001_x.xml"),
              uploaded ? message + "\r\n" : "an older, longer message");
    EXPECT_EQ(ReadBytes(data_map + "1001_x.xml"), uploaded ? "" : message + "\r\n");
  }
}

}  // namespace
}  // namespace typrosync

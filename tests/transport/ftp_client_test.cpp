#include "transport/ftp_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/test_server.h"

namespace typrosync {
namespace {

using test_support::FtpServerOptions;
using test_support::FtpTestServer;
using test_support::ReadFileBytes;
using test_support::TempDir;
using test_support::WriteFileBytes;

using Events = std::vector<std::pair<int32_t, int32_t>>;

class FtpClientTest : public ::testing::Test {
 protected:
  void StartServer(const std::string& perm = "elradfmwMT") {
    FtpServerOptions options;
    options.root = root_.path();
    options.perm = perm;
    options.log = local_.path() + "server.log";
    server_ = std::make_unique<FtpTestServer>(options);
    FtpClientOptions client_options;
    client_options.port = server_->port();
    client_options.response_timeout_ms = 5000;
    client_options.process_events = [this] { ++pumps_; };
    ftp_ = std::make_unique<cFTP>(client_options);
    ftp_->OnFileTransferProgress(
        [this](int32_t current, int32_t total) { events_.emplace_back(current, total); });
  }
  void SetUp() override { StartServer(); }
  bool Open(const std::string& password = "geheim") {
    return ftp_->OpenConnection("127.0.0.1", "agro", password);
  }
  std::string Local(const std::string& name) const { return local_.path() + name; }
  std::string Remote(const std::string& name) const { return root_.path() + name; }
  // The commands the server received, without their arguments.
  std::vector<std::string> ServerCommands() const {
    std::vector<std::string> commands;
    std::string log = ReadFileBytes(local_.path() + "server.log");
    for (size_t pos = 0; pos < log.size();) {
      size_t end = log.find('\n', pos);
      std::string line = log.substr(pos, end - pos);
      commands.push_back(line.substr(0, line.find(' ')));
      pos = end + 1;
    }
    return commands;
  }

  TempDir root_;
  TempDir local_;
  std::unique_ptr<FtpTestServer> server_;
  std::unique_ptr<cFTP> ftp_;
  Events events_;
  int pumps_ = 0;
};

TEST_F(FtpClientTest, FreshInstanceUsesAsciiOverAnActiveConnection) {
  EXPECT_EQ(ftp_->TransferType(), kFtpTransferAscii);
  EXPECT_EQ(ftp_->ConnectFlags(), kFtpModeActive);
  ASSERT_TRUE(Open()) << ftp_->GetLastErrorMessage();
  WriteFileBytes(Local("a.txt"), "een\r\n");
  EXPECT_TRUE(ftp_->SimpleFTPPutFile(Local("a.txt"), "a.txt"));
  ftp_->SetTransferBinary();
  EXPECT_TRUE(ftp_->SimpleFTPPutFile(Local("a.txt"), "b.txt"));
  const std::vector<std::string> expected{"CONNECT", "USER", "PASS", "PWD",  "EPRT",
                                          "TYPE",    "STOR", "EPRT", "TYPE", "STOR"};
  EXPECT_EQ(ServerCommands(), expected);
  std::string log = ReadFileBytes(local_.path() + "server.log");
  EXPECT_NE(log.find("TYPE A -> 200\nSTOR"), std::string::npos) << log;
  EXPECT_NE(log.find("TYPE I -> 200\nSTOR"), std::string::npos) << log;
  EXPECT_EQ(ftp_->GetLastErrorMessage(), "");
}

TEST_F(FtpClientTest, PassiveModeTakesEffectAtTheNextConnection) {
  ftp_->SetModePassive();
  EXPECT_EQ(ftp_->ConnectFlags(), kFtpModePassive);
  ASSERT_TRUE(Open());
  WriteFileBytes(Local("p.bin"), std::string(1000, 'p'));
  ftp_->SetTransferBinary();
  EXPECT_TRUE(ftp_->SimpleFTPPutFile(Local("p.bin"), "p.bin"));
  EXPECT_EQ(ReadFileBytes(Remote("p.bin")), std::string(1000, 'p'));
  ftp_->SetModeActive();
  ASSERT_TRUE(Open());
  EXPECT_TRUE(ftp_->SimpleFTPGetFile(Local("back.bin"), "p.bin"));
  EXPECT_EQ(ReadFileBytes(Local("back.bin")), std::string(1000, 'p'));
}

// The current folder lives on the one control connection kept for the session.
TEST_F(FtpClientTest, FolderAndFileOperationsShareOneSession) {
  ASSERT_TRUE(Open());
  ftp_->SetTransferBinary();
  EXPECT_EQ(ftp_->GetFTPDirectory(), "/");
  EXPECT_TRUE(ftp_->CreateFTPDirectory("sub map"));
  EXPECT_TRUE(ftp_->SetFTPDirectory("sub map"));
  EXPECT_EQ(ftp_->GetFTPDirectory(), "/sub map");
  WriteFileBytes(Local("x.xml"), "<x/>");
  EXPECT_TRUE(ftp_->SimpleFTPPutFile(Local("x.xml"), "x.xml"));
  EXPECT_TRUE(ftp_->RenameFTPFile("x.xml", "y.xml"));
  EXPECT_EQ(ReadFileBytes(Remote("sub map/y.xml")), "<x/>");
  EXPECT_EQ(ftp_->GetFTPFileSize("y.xml"), 4);
  WriteFileBytes(Local("old.xml"), "a much longer older local file");
  EXPECT_TRUE(ftp_->SimpleFTPGetFile(Local("old.xml"), "/sub map/y.xml"));
  EXPECT_EQ(ReadFileBytes(Local("old.xml")), "<x/>");
  EXPECT_TRUE(ftp_->DeleteFTPFile("y.xml"));
  EXPECT_TRUE(ftp_->SetFTPDirectory("/"));
  EXPECT_TRUE(ftp_->RemoveFTPDirectory("sub map"));
  EXPECT_FALSE(std::filesystem::exists(Remote("sub map")));
  EXPECT_EQ(ftp_->GetLastErrorMessage(), "");
  auto commands = ServerCommands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "CONNECT"), 1);
}

// A refusal by the server stores its own reply; the text survives later
// successes until it is cleared, and the session goes on.
TEST_F(FtpClientTest, ServerRefusalStoresTheServerReplyAlone) {
  ASSERT_TRUE(Open());
  EXPECT_FALSE(ftp_->DeleteFTPFile("missing.xml"));
  std::string text = ftp_->GetLastErrorMessage();
  EXPECT_EQ(text.substr(0, 4), "550 ");
  EXPECT_TRUE(text.ends_with("\r\n"));
  EXPECT_EQ(text.find("Foutmelding"), std::string::npos);
  EXPECT_TRUE(ftp_->CreateFTPDirectory("d"));
  EXPECT_EQ(ftp_->GetLastErrorMessage(), text);
  ftp_->ClearLastErrorMessage();
  EXPECT_EQ(ftp_->GetLastErrorMessage(), "");
  EXPECT_FALSE(ftp_->RenameFTPFile("nothing", "other"));
  EXPECT_EQ(ftp_->GetLastErrorMessage().substr(0, 4), "550 ");
  EXPECT_FALSE(ftp_->DeleteFTPFile("a\r\nRMD d"));
  EXPECT_EQ(ftp_->GetLastErrorMessage(), "Foutmelding (87)\r\n\r\nDe parameter is onjuist.\r\n");
  EXPECT_TRUE(std::filesystem::exists(Remote("d")));
  EXPECT_FALSE(ftp_->SetFTPDirectory("nowhere"));
  EXPECT_EQ(ftp_->GetFTPDirectory(), "/");
  auto commands = ServerCommands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "CONNECT"), 1);
}

TEST_F(FtpClientTest, UploadRefusedByTheServer) {
  StartServer("elr");
  ASSERT_TRUE(Open());
  WriteFileBytes(Local("a.xml"), "<a/>");
  EXPECT_FALSE(ftp_->SimpleFTPPutFile(Local("a.xml"), "a.xml"));
  EXPECT_EQ(ftp_->GetLastErrorMessage(), "550 Not enough privileges.\r\n");
  EXPECT_FALSE(std::filesystem::exists(Remote("a.xml")));
}

TEST_F(FtpClientTest, ConnectionFailuresCarryTheirNumber) {
  struct Case {
    std::string server;
    std::string password;
    std::string text;
  };
  const std::vector<Case> cases{
      {"127.0.0.1", "fout", "Foutmelding (12014)\r\n\r\nHet wachtwoord is onjuist.\r\n"},
      {"naam.invalid", "geheim",
       "Foutmelding (12007)\r\n\r\nDe servernaam of het serveradres kan niet worden omgezet.\r\n"},
  };
  for (const Case& c : cases) {
    ftp_->ClearLastErrorMessage();
    EXPECT_FALSE(ftp_->OpenConnection(c.server, "agro", c.password));
    EXPECT_EQ(ftp_->GetLastErrorMessage(), c.text) << c.server;
    EXPECT_FALSE(ftp_->IsConnected());
  }
  int port = server_->port();
  server_.reset();  // nobody listens there any more
  FtpClientOptions options;
  options.port = port;
  cFTP refused(options);
  EXPECT_FALSE(refused.OpenConnection("127.0.0.1", "agro", "geheim"));
  EXPECT_EQ(refused.GetLastErrorMessage(),
            "Foutmelding (12029)\r\n\r\nEr kan geen verbinding met de server worden gemaakt.\r\n");
}

TEST_F(FtpClientTest, OperationsWithoutConnectionFail) {
  EXPECT_FALSE(ftp_->DeleteFTPFile("a"));
  EXPECT_EQ(ftp_->GetLastErrorMessage(), "Foutmelding (6)\r\n\r\nDe ingang is ongeldig.\r\n");
  ASSERT_TRUE(Open());
  ftp_->CloseConnection();
  ftp_->ClearLastErrorMessage();
  EXPECT_EQ(ftp_->GetFTPDirectory(), "");
  EXPECT_EQ(ftp_->GetFTPFileSize("a"), -2);
  EXPECT_NE(ftp_->GetLastErrorMessage(), "");
}

TEST_F(FtpClientTest, FileSizeMatchesNamesWithSpaces) {
  WriteFileBytes(Remote("levering 12.xml"), std::string(77, 'l'));
  std::filesystem::create_directory(Remote("map"));
  WriteFileBytes(Remote("map/b c.xml"), std::string(5, 'b'));
  ASSERT_TRUE(Open());
  EXPECT_EQ(ftp_->GetFTPFileSize("levering 12.xml"), 77);
  EXPECT_EQ(ftp_->GetFTPFileSize("levering?12.xml"), 77);
  EXPECT_EQ(ftp_->GetFTPFileSize("lev*.xml"), 77);
  EXPECT_EQ(ftp_->GetFTPFileSize("map/b c.xml"), 5);
  EXPECT_EQ(ftp_->GetFTPFileSize("levering 13.xml"), -1);
  EXPECT_EQ(ftp_->GetLastErrorMessage(), "");
  EXPECT_EQ(ftp_->GetFTPFileSize("geen map/x.xml"), -2);
  EXPECT_EQ(ftp_->GetLastErrorMessage().substr(0, 4), "550 ");
}

TEST_F(FtpClientTest, UploadReportsEveryBlockOf255Bytes) {
  struct Case {
    size_t size;
    Events events;
  };
  const std::vector<Case> cases{
      {0, {{0, 0}}},
      {510, {{255, 510}, {510, 510}, {510, 510}}},
      {300, {{255, 300}, {300, 300}}},
      {254, {{254, 254}}},
  };
  ASSERT_TRUE(Open());
  ftp_->SetTransferBinary();
  for (const Case& c : cases) {
    events_.clear();
    std::string bytes(c.size, '\0');
    for (size_t i = 0; i < c.size; ++i) bytes[i] = static_cast<char>(i * 7);
    WriteFileBytes(Local("up.bin"), bytes);
    std::string local = "  " + Local("up.bin") + " ";
    std::string remote = " up.bin  ";
    ASSERT_TRUE(ftp_->FTPUploadFile(local, remote)) << ftp_->GetLastErrorMessage();
    EXPECT_EQ(local, Local("up.bin"));
    EXPECT_EQ(remote, "up.bin");
    EXPECT_EQ(events_, c.events) << c.size;
    EXPECT_EQ(ReadFileBytes(Remote("up.bin")), bytes);
  }
  EXPECT_EQ(pumps_, 3);  // once after every full block
}

TEST_F(FtpClientTest, DownloadCountsFromOne) {
  struct Case {
    size_t size;
    Events events;
  };
  const std::vector<Case> cases{
      {300, {{256, 300}, {300, 300}}},
      {510, {{256, 510}, {511, 510}, {510, 510}}},
      {10, {{10, 10}}},
  };
  ASSERT_TRUE(Open());
  ftp_->SetTransferBinary();
  for (const Case& c : cases) {
    events_.clear();
    std::string bytes(c.size, 'd');
    bytes[0] = '\r';
    WriteFileBytes(Remote("down.bin"), bytes);
    WriteFileBytes(Local("down.bin"), std::string(2000, 'x'));  // stale, longer
    std::string local = Local("down.bin");
    std::string remote = "down.bin";
    ASSERT_TRUE(ftp_->FTPDownloadFile(local, remote)) << ftp_->GetLastErrorMessage();
    EXPECT_EQ(events_, c.events) << c.size;
    EXPECT_EQ(ReadFileBytes(Local("down.bin")), bytes);
  }
}

TEST_F(FtpClientTest, BlockTransfersRefuseWhatCannotBeDone) {
  ASSERT_TRUE(Open());
  std::string blank = "   ";
  std::string remote = "r.bin";
  EXPECT_FALSE(ftp_->FTPUploadFile(blank, remote));
  EXPECT_EQ(blank, "");
  EXPECT_EQ(ftp_->GetLastErrorMessage(), "");
  std::string missing = Local("missing.bin");
  EXPECT_FALSE(ftp_->FTPUploadFile(missing, remote));
  EXPECT_EQ(ftp_->GetLastErrorMessage().substr(0, 16), "Foutmelding (2)\r");
  ftp_->ClearLastErrorMessage();
  WriteFileBytes(Remote("empty.bin"), "");
  std::string local = Local("e.bin");
  std::string empty = "empty.bin";
  EXPECT_FALSE(ftp_->FTPDownloadFile(local, empty));
  std::string absent = "absent.bin";
  EXPECT_FALSE(ftp_->FTPDownloadFile(local, absent));
  EXPECT_EQ(ftp_->GetLastErrorMessage(), "");
  EXPECT_FALSE(std::filesystem::exists(local));
  EXPECT_TRUE(events_.empty());
}

}  // namespace
}  // namespace typrosync

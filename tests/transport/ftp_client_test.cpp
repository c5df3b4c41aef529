#include "transport/ftp_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/test_server.h"
#include "transport/ftp_listing.h"

namespace typrosync {
namespace {

using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

using Events = std::vector<std::pair<int32_t, int32_t>>;

class FtpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ftp_.OnFileTransferProgress([this](int32_t now, int32_t total) {
      events_.push_back({now, total});
    });
  }
  bool Open() { return ftp_.OpenConnection("127.0.0.1", "agro", "geheim"); }
  std::string Local(const std::string& name) const { return local_.path() + name; }
  std::string Remote(const std::string& name) const { return root_.path() + name; }
  // The commands the server received, without their arguments.
  std::vector<std::string> ServerCommands() const {
    std::istringstream log(ReadFileBytes(Local("server.log")));
    std::vector<std::string> commands;
    for (std::string line; std::getline(log, line);)
      commands.push_back(line.substr(0, line.find(' ')));
    return commands;
  }

  test_support::TempDir root_, local_;
  test_support::FtpTestServer server_{
      {root_.path(), "agro", "geheim", "elradfmwMT", Local("server.log")}};
  int pumps_ = 0;
  cFTP ftp_{FtpClientOptions{server_.port(), 60000, 5000, [this] { ++pumps_; }}};
  Events events_;
};

// A fresh instance sends ASCII over an active connection; passive mode waits
// for the next connection. The current folder lives on the control connection.
TEST_F(FtpClientTest, SessionTypeAndMode) {
  ASSERT_TRUE(Open()) << ftp_.GetLastErrorMessage();
  EXPECT_TRUE(ftp_.CreateFTPDirectory("sub map"));
  EXPECT_TRUE(ftp_.SetFTPDirectory("sub map"));
  EXPECT_EQ(ftp_.GetFTPDirectory(), "/sub map");
  WriteFileBytes(Local("a.txt"), "een\r\n");
  EXPECT_TRUE(ftp_.SimpleFTPPutFile(Local("a.txt"), "a.txt"));
  ftp_.SetTransferBinary();
  ftp_.SetModePassive();
  EXPECT_TRUE(ftp_.SimpleFTPPutFile(Local("a.txt"), "b.txt"));
  EXPECT_TRUE(ftp_.RenameFTPFile("b.txt", "c.txt"));
  ASSERT_TRUE(Open());
  WriteFileBytes(Local("old.txt"), "a much longer older local file");
  EXPECT_TRUE(ftp_.SimpleFTPGetFile(Local("old.txt"), "sub map/c.txt"));
  EXPECT_EQ(ReadFileBytes(Local("old.txt")), "een\r\n");
  EXPECT_TRUE(ftp_.DeleteFTPFile("sub map/a.txt") && ftp_.DeleteFTPFile("sub map/c.txt"));
  EXPECT_TRUE(ftp_.RemoveFTPDirectory("sub map"));
  EXPECT_FALSE(std::filesystem::exists(Remote("sub map")));
  EXPECT_EQ(ftp_.GetLastErrorMessage(), "");
  ftp_.CloseConnection();  // the server logs a command after answering it: wait for RMD's line
  std::vector<std::string> commands = ServerCommands();
  const std::vector<std::string> expected{
      "CONNECT", "USER", "PASS", "PWD",  "MKD",  "CWD",  "PWD",  "EPRT",    "TYPE",
      "STOR",    "EPRT", "TYPE", "STOR", "RNFR", "RNTO", "QUIT", "CONNECT", "USER",
      "PASS",    "PWD",  "EPSV", "TYPE", "SIZE", "RETR", "DELE", "DELE",    "RMD"};
  commands.resize(expected.size());
  EXPECT_EQ(commands, expected);
  std::string log = ReadFileBytes(Local("server.log"));
  EXPECT_NE(log.find("TYPE A -> 200\nSTOR"), std::string::npos) << log;
  EXPECT_NE(log.find("TYPE I -> 200\nSTOR"), std::string::npos) << log;
}

// A refusal stores the server's own reply, which survives later successes
// until it is cleared; the session goes on.
TEST_F(FtpClientTest, ServerRefusalStoresTheServerReplyAlone) {
  ASSERT_TRUE(Open());
  EXPECT_FALSE(ftp_.DeleteFTPFile("missing.xml"));
  std::string text = ftp_.GetLastErrorMessage();
  EXPECT_TRUE(text.starts_with("550 ") && text.ends_with("\r\n")) << text;
  EXPECT_TRUE(ftp_.CreateFTPDirectory("d"));
  EXPECT_EQ(ftp_.GetLastErrorMessage(), text);
  ftp_.ClearLastErrorMessage();
  EXPECT_EQ(ftp_.GetLastErrorMessage(), "");
  EXPECT_FALSE(ftp_.RenameFTPFile("nothing", "other"));
  EXPECT_TRUE(ftp_.GetLastErrorMessage().starts_with("550 "));
  EXPECT_FALSE(ftp_.DeleteFTPFile("a\r\nRMD d"));
  EXPECT_EQ(ftp_.GetLastErrorMessage(), "Foutmelding (87)\r\n\r\nDe parameter is onjuist.\r\n");
  EXPECT_TRUE(std::filesystem::exists(Remote("d")));
  EXPECT_FALSE(ftp_.SetFTPDirectory("nowhere"));
  EXPECT_EQ(ftp_.GetFTPDirectory(), "/");
  EXPECT_EQ(std::ranges::count(ServerCommands(), "CONNECT"), 1);
}

TEST_F(FtpClientTest, FileSizeMatchesNamesWithSpaces) {
  WriteFileBytes(Remote("levering 12.xml"), std::string(77, 'l'));
  std::filesystem::create_directory(Remote("map"));
  WriteFileBytes(Remote("map/b c.xml"), "bbbbb");
  ASSERT_TRUE(Open());
  for (const char* pattern : {"levering 12.xml", "levering?12.xml", "lev*.xml"})
    EXPECT_EQ(ftp_.GetFTPFileSize(pattern), 77) << pattern;
  EXPECT_EQ(ftp_.GetFTPFileSize("map/b c.xml"), 5);
  for (const char* other : {"levering 13.xml", "levering 12.xm", "LEVERING 12.XML"})
    EXPECT_EQ(ftp_.GetFTPFileSize(other), -1) << other;  // whole names, case counts
  EXPECT_EQ(ftp_.GetLastErrorMessage(), "");
  EXPECT_EQ(ftp_.GetFTPFileSize("geen map/x.xml"), -2);
  EXPECT_TRUE(ftp_.GetLastErrorMessage().starts_with("550 "));
}

// Uploads report after every block of 255 bytes; downloads count from one.
TEST_F(FtpClientTest, BlockTransferProgress) {
  const struct {
    bool upload;
    size_t size;
    Events events;
  } cases[] = {
      {true, 0, {{0, 0}}},
      {true, 510, {{255, 510}, {510, 510}, {510, 510}}},
      {true, 300, {{255, 300}, {300, 300}}},
      {true, 254, {{254, 254}}},
      {false, 300, {{256, 300}, {300, 300}}},
      {false, 510, {{256, 510}, {511, 510}, {510, 510}}},
      {false, 10, {{10, 10}}},
  };
  ASSERT_TRUE(Open());
  ftp_.SetTransferBinary();
  for (const auto& c : cases) {
    events_.clear();
    std::string bytes(c.size, '\0');
    for (size_t i = 0; i < c.size; ++i) bytes[i] = static_cast<char>(i * 7);
    WriteFileBytes(Local("f.bin"), c.upload ? bytes : std::string(2000, 'x'));  // stale, longer
    if (!c.upload) WriteFileBytes(Remote("f.bin"), bytes);
    std::string local = "  " + Local("f.bin") + " ", remote = " f.bin  ";
    ASSERT_TRUE(c.upload ? ftp_.FTPUploadFile(local, remote) : ftp_.FTPDownloadFile(local, remote))
        << ftp_.GetLastErrorMessage();
    EXPECT_EQ(local + "|" + remote, Local("f.bin") + "|f.bin");
    EXPECT_EQ(events_, c.events) << c.size;
    EXPECT_EQ(ReadFileBytes(c.upload ? Remote("f.bin") : Local("f.bin")), bytes);
  }
  EXPECT_EQ(pumps_, 6);  // once after every full block, either way
}

TEST_F(FtpClientTest, RefusesWhatCannotBeDone) {
  EXPECT_FALSE(ftp_.DeleteFTPFile("a"));
  EXPECT_EQ(ftp_.GetLastErrorMessage(), "Foutmelding (6)\r\n\r\nDe ingang is ongeldig.\r\n");
  ASSERT_TRUE(Open());
  ftp_.ClearLastErrorMessage();
  std::string blank = "   ", remote = "r.bin", missing = Local("missing.bin");
  EXPECT_FALSE(ftp_.FTPUploadFile(blank, remote));
  EXPECT_EQ(blank + ftp_.GetLastErrorMessage(), "");
  EXPECT_FALSE(ftp_.FTPUploadFile(missing, remote));
  EXPECT_TRUE(ftp_.GetLastErrorMessage().starts_with("Foutmelding (2)\r"));
  ftp_.ClearLastErrorMessage();
  WriteFileBytes(Remote("empty.bin"), "");
  std::string local = Local("e.bin"), empty = "empty.bin", absent = "absent.bin";
  EXPECT_FALSE(ftp_.FTPDownloadFile(local, empty));
  EXPECT_FALSE(ftp_.FTPDownloadFile(local, absent));
  EXPECT_EQ(ftp_.GetLastErrorMessage(), "");
  EXPECT_FALSE(std::filesystem::exists(local));
  EXPECT_TRUE(events_.empty());
  ftp_.CloseConnection();
  EXPECT_EQ(ftp_.GetFTPDirectory(), "");
  EXPECT_EQ(ftp_.GetFTPFileSize("a"), -2);
}

using Entries = std::vector<std::pair<std::string, int64_t>>;

Entries NamesAndSizes(const std::vector<FtpListEntry>& entries) {
  Entries out;
  for (const auto& entry : entries) out.emplace_back(entry.name, entry.size);
  return out;
}

// Servers without MLSD answer the size search with Unix-style listings; both
// forms keep spaces in names and leave out the folder and its parent.
TEST(FtpListingTest, ListingsKeepSpacesInNames) {
  EXPECT_EQ(NamesAndSizes(ParseUnixListing(
                "total 8\r\n"
                "drwxr-xr-x   2 agro  agro      4096 Dec 05 20:00 .\r\n"
                "-rw-r--r--   1 agro  agro     12345 Dec 05 20:00 levering 12.xml\r\n"
                "-rw-r--r--   1 agro  agro  5000000000 Jan  1  2025 groot.bin\r\n")),
            Entries({{"levering 12.xml", 12345}, {"groot.bin", 5000000000}}));
  EXPECT_EQ(NamesAndSizes(ParseMlsdListing("type=cdir;modify=20260101;perm=el; .\r\n"
                                           "type=pdir;modify=20260101;perm=el; ..\r\n"
                                           "Type=file;Size=300;modify=20260101; a b.xml\r\n")),
            Entries({{"a b.xml", 300}}));
}

}  // namespace
}  // namespace typrosync

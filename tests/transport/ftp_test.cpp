#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/test_server.h"
#include "transport/ftp_client_tests.h"
#include "transport/ftp_listing.h"

namespace typrosync {
namespace {

using ftp_tests::RecordingUserInterface;
using ftp_tests::Strings;
using test_support::ReadFileBytes;
using test_support::WriteFileBytes;
namespace fs = std::filesystem;

// Servers of every kind, each started when first asked for; the full one
// logs "CONNECT" and "COMMAND argument -> code" lines after answering.
class OwnSessionServers {
 public:
  int Port(const std::string& kind) {
    return kind == "REFUSING_" ? refusing_.port() : Server(kind).port();
  }
  std::string Root(const std::string& kind) {
    Server(kind);
    return roots_[kind].path();
  }
  std::string Local(const std::string& name = "f.bin") const { return local_.path() + name; }
  std::string DataFolder() const { return local_.path(); }
  // The commands the full server received (TYPE with its argument).
  Strings Commands(size_t first_n = 0) const {
    std::istringstream log(ReadFileBytes(Local("server.log")));
    Strings commands;
    for (std::string line; std::getline(log, line);)
      commands.push_back(line.substr(0, line.find(' ', line.starts_with("TYPE") ? 5 : 0)));
    if (first_n > 0) commands.resize(first_n);
    return commands;
  }

 private:
  test_support::FtpTestServer& Server(const std::string& kind) {
    auto& server = servers_[kind];
    if (!server) {
      server = std::make_unique<test_support::FtpTestServer>(test_support::FtpServerOptions{
          roots_[kind].path(), "agro", "geheim", kind == "READONLY_" ? "elr" : "elradfmwMT",
          kind.empty() ? Local("server.log") : "",
          kind == "SLOW_"     ? 8
          : kind == "MOVING_" ? 16384
                              : 0});
    }
    return *server;
  }

  std::map<std::string, test_support::TempDir> roots_;
  std::map<std::string, std::unique_ptr<test_support::FtpTestServer>> servers_;
  test_support::TempDir local_;
  test_support::RefusingPort refusing_;
};

class OwnFtpClientTest : public ftp_tests::FtpClientTest<OwnSessionServers> {
 protected:
  bool Open() { return ftp_.OpenConnection("127.0.0.1", "agro", "geheim"); }
  std::string Local(const std::string& name) const { return s.Local(name); }
  std::string Remote(const std::string& name) { return s.Root("") + name; }
};

// A fresh instance sends ASCII over an active connection; passive mode waits
// for the next connection. The current folder lives on the control connection.
TEST_F(OwnFtpClientTest, SessionTypeAndMode) {
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
  EXPECT_FALSE(fs::exists(Remote("sub map")));
  EXPECT_EQ(ftp_.GetLastErrorMessage(), "");
  ftp_.CloseConnection();
  EXPECT_EQ(
      s.Commands(27),
      (Strings{"CONNECT", "USER", "PASS",   "PWD",    "MKD",  "CWD",  "PWD",  "EPRT",    "TYPE A",
               "STOR",    "EPRT", "TYPE I", "STOR",   "RNFR", "RNTO", "QUIT", "CONNECT", "USER",
               "PASS",    "PWD",  "EPSV",   "TYPE I", "SIZE", "RETR", "DELE", "DELE",    "RMD"}));
}

// Refusals of a rename, a command with a line break and a folder change
// leave the session as it was, on its one connection.
TEST_F(OwnFtpClientTest, RefusalsLeaveTheSession) {
  ASSERT_TRUE(Open());
  EXPECT_TRUE(ftp_.CreateFTPDirectory("d"));
  EXPECT_FALSE(ftp_.RenameFTPFile("nothing", "other"));
  EXPECT_TRUE(ftp_.GetLastErrorMessage().starts_with("550 "));
  EXPECT_FALSE(ftp_.DeleteFTPFile("a\r\nRMD d"));
  EXPECT_EQ(ftp_.GetLastErrorMessage(), "Foutmelding (87)\r\n\r\nDe parameter is onjuist.\r\n");
  EXPECT_TRUE(fs::exists(Remote("d")));
  EXPECT_FALSE(ftp_.SetFTPDirectory("nowhere"));
  EXPECT_EQ(ftp_.GetFTPDirectory(), "/");
  EXPECT_EQ(std::ranges::count(s.Commands(), "CONNECT"), 1);
}

TEST_F(OwnFtpClientTest, FileSizeMatchesNamesWithSpaces) {
  WriteFileBytes(Remote("levering 12.xml"), std::string(77, 'l'));
  fs::create_directory(Remote("map"));
  WriteFileBytes(Remote("map/b c.xml"), "bbbbb");
  ASSERT_TRUE(Open());
  for (const char* pattern : {"levering 12.xml", "levering?12.xml", "lev*.xml"})
    EXPECT_EQ(ftp_.GetFTPFileSize(pattern), 77) << pattern;
  EXPECT_EQ(ftp_.GetFTPFileSize("map/b c.xml"), 5);
  // Whole names, case counts; nothing found is -1 without error text.
  for (const char* other : {"levering 13.xml", "levering 12.xm", "LEVERING 12.XML"})
    EXPECT_EQ(ftp_.GetFTPFileSize(other), -1) << other;
  EXPECT_EQ(ftp_.GetLastErrorMessage(), "");
}

// Servers without MLSD answer the size search with a Unix-style listing.
TEST(FtpListingTest, UnixListingKeepsSpacesInNames) {
  std::string names_and_sizes;
  for (const FtpListEntry& entry :
       ParseUnixListing("total 8\r\n"
                        "drwxr-xr-x   2 agro  agro      4096 Dec 05 20:00 .\r\n"
                        "-rw-r--r--   1 agro  agro     12345 Dec 05 20:00 levering 12.xml\r\n"
                        "-rw-r--r--   1 agro  agro  5000000000 Jan  1  2025 groot.bin\r\n"))
    names_and_sizes += entry.name + "|" + std::to_string(entry.size) + ";";
  EXPECT_EQ(names_and_sizes, "levering 12.xml|12345;groot.bin|5000000000;");
}

TEST_F(OwnFtpClientTest, RefusesWhatCannotBeDone) {
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
  EXPECT_FALSE(ftp_.FTPDownloadFile(local, empty) || ftp_.FTPDownloadFile(local, absent));
  EXPECT_EQ(ftp_.GetLastErrorMessage(), "");
  EXPECT_FALSE(fs::exists(local));
  EXPECT_TRUE(events_.empty());
}

const Strings kDelivered{"busy", "normal", "pump", "normal"};
const std::string kBericht = "<bericht>\xc3\xa9</bericht>";
const std::string kSettings = "127.0.0.1\r\n21\r\nagro\r\ngeheim\r\n";

class FtpDeliveryTest : public OwnFtpClientTest {
 protected:
  // Delivers with `settings` as agrovision.ini (none when null); the boxes shown.
  Strings Deliver(const char* settings, const std::string& name = "1001_x.xml", int port = 0) {
    fs::remove(Local("agrovision.ini"));
    if (settings) WriteFileBytes(Local("agrovision.ini"), settings);
    ui_.events.clear();
    outcome_ = MakeFtpSender(s.DataFolder(), ui_, {port ? port : s.Port(""), 60000, 5000})
                   ->VerstuurViaFTP(kBericht, name);
    return ui_.events;
  }

  RecordingUserInterface ui_;
  FtpOutcome outcome_ = FtpOutcome::kFailed;
};

// Lines of agrovision.ini end at CR LF or CR only; the port text is only
// checked to be there, and what follows the password is ignored. A refused
// login or connection shows the client's text. The deliveries find no earlier
// remote file to delete, which is no failure.
TEST_F(FtpDeliveryTest, EverySettingsFileCase) {
  const std::string kLogin = "Foutmelding (12014)\r\n\r\nHet wachtwoord is onjuist.\r\n";
  const std::string kName =
      "Foutmelding (12007)\r\n\r\nDe servernaam of het serveradres kan niet worden omgezet.\r\n";
  const struct {
    const char* settings;
    std::string box;  // empty: delivered
  } cases[] = {
      {nullptr, "info: Er is geen FTP instelling aangetroffen."},
      {"", "info: Er is geen FTP instelling aangetroffen."},
      {"\r\n21\r\nagro\r\ngeheim\r\n", "info: Er is geen FTP instelling aangetroffen."},
      {"127.0.0.1\r\n", "info: Er is geen FTP poort instelling aangetroffen."},
      {"127.0.0.1\n21\nagro\ngeheim\n", "info: Er is geen FTP poort instelling aangetroffen."},
      {"127.0.0.1\r\n\r\nagro\r\ngeheim\r\n",
       "info: Er is geen FTP poort instelling aangetroffen."},
      {"127.0.0.1\r\n21\r\n", "info: Er is geen FTP login instelling aangetroffen."},
      {"127.0.0.1\r\n21\r\nagro\r\n", "info: Er is geen FTP wachtwoord instelling aangetroffen."},
      {"127.0.0.1\r\n21\r\nagro\r\nfout\r\n", "warning: " + kLogin},
      {"127.0.0.1  \r\n21\r\nagro\r\ngeheim\r\n", "warning: " + kName},  // spaces kept
      {"127.0.0.1\r21\ragro\rgeheim\r", ""},
      {"127.0.0.1\r\nletters\r\nagro\r\ngeheim\r\nextra\r\nmeer", ""},
  };
  for (const auto& c : cases) {
    fs::remove(Remote("1001_x.xml"));
    EXPECT_EQ(Deliver(c.settings),
              (c.box.empty()                 ? kDelivered
               : c.box.starts_with("info: ") ? Strings{c.box, "normal"}
                                             : Strings{"busy", c.box, "normal"}));
    EXPECT_EQ(ReadFileBytes(Remote("1001_x.xml")), c.box.empty() ? kBericht + "\r\n" : "") << c.box;
    EXPECT_EQ(outcome_, c.box.empty()                 ? FtpOutcome::kUploaded
                        : c.box.starts_with("info: ") ? FtpOutcome::kRefused
                                                      : FtpOutcome::kFailed)
        << c.box;
    EXPECT_FALSE(fs::exists(Local("1001_x.xml"))) << c.box;
  }
  EXPECT_EQ(Deliver(kSettings.c_str(), "1001_x.xml", s.Port("REFUSING_")),
            (Strings{"busy",
                     "warning: Foutmelding (12029)\r\n\r\nEr kan geen "
                     "verbinding met de server worden gemaakt.\r\n",
                     "normal"}));
  EXPECT_EQ(outcome_, FtpOutcome::kFailed);
}

// A test connection, then the delivery into "/": delete, then store, binary, active.
TEST_F(FtpDeliveryTest, UploadReplacesTheRemoteFile) {
  WriteFileBytes(Remote("1001_x.xml"), "an older, longer message");
  EXPECT_EQ(Deliver(kSettings.c_str()), kDelivered);
  EXPECT_EQ(ReadFileBytes(Remote("1001_x.xml")), kBericht + "\r\n");
  EXPECT_EQ(s.Commands(14), (Strings{"CONNECT", "USER", "PASS", "PWD", "QUIT", "CONNECT", "USER",
                                     "PASS", "PWD", "CWD", "DELE", "EPRT", "TYPE I", "STOR"}));
}

TEST_F(FtpDeliveryTest, NamesOutsideTheDataFolderAreRefused) {
  for (const std::string name : {"../5005.xml", "sub/5005.xml", "..", "a\\b.xml", ""}) {
    EXPECT_EQ(Deliver(kSettings.c_str(), name),
              Strings{"warning: De bestandsnaam \"" + name +
                      "\" is ongeldig; het bericht is niet via FTP verzonden."});
    EXPECT_EQ(outcome_, FtpOutcome::kRefused);
  }
  EXPECT_EQ(ReadFileBytes(Local("server.log")), "");
  EXPECT_FALSE(fs::exists(Local("../5005.xml")));
}

}  // namespace

namespace ftp_tests {
INSTANTIATE_TYPED_TEST_SUITE_P(OwnSession, FtpClientTest, OwnSessionServers);
}  // namespace ftp_tests
}  // namespace typrosync

#include "transport/ftp_delivery.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/test_server.h"

namespace typrosync {
namespace {

using test_support::FtpServerOptions;
using test_support::FtpTestServer;
using test_support::ReadFileBytes;
using test_support::TempDir;
using test_support::WriteFileBytes;

constexpr char kTitel[] = "Beheer - TallyraPro";

// The person pressing OK: every box, pointer change and event pump in order.
class RecordingUserInterface : public UserInterface {
 public:
  void ProcessPendingEvents() override { events.push_back("pump"); }
  void SetBusyPointer(bool busy) override { events.push_back(busy ? "busy" : "normal"); }
  void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override {
    std::string kind = icon == MessageIcon::kInformation ? "info"
                       : icon == MessageIcon::kWarning   ? "warning"
                                                         : "other";
    events.push_back(kind + (title == kTitel ? "" : "(wrong title)") + ": " + text);
  }
  std::vector<std::string> events;
};

class FtpDeliveryTest : public ::testing::Test {
 protected:
  void StartServer(const std::string& perm = "elradfmwMT") {
    FtpServerOptions options;
    options.root = root_.path();
    options.perm = perm;
    options.log = log_dir_.path() + "server.log";
    server_ = std::make_unique<FtpTestServer>(options);
  }
  void SetUp() override { StartServer(); }

  void WriteSettings(const std::string& text) {
    WriteFileBytes(data_.path() + "agrovision.ini", text);
  }
  void Deliver(const std::string& bericht, const std::string& name) {
    FtpDeliveryOptions options;
    options.port = server_ ? server_->port() : 1;
    options.response_timeout_ms = 5000;
    MakeFtpSender(data_.path(), ui_, options)->VerstuurViaFTP(bericht, name);
  }
  std::string ServerLog() const { return ReadFileBytes(log_dir_.path() + "server.log"); }
  bool LocalCopyExists(const std::string& name) const {
    return std::filesystem::exists(data_.path() + name);
  }

  TempDir data_;
  TempDir root_;
  TempDir log_dir_;
  std::unique_ptr<FtpTestServer> server_;
  RecordingUserInterface ui_;
};

TEST(LeesFtpInstellingenTest, LinesEndAtCrLfOrCrOnly) {
  TempDir dir;
  struct Case {
    std::string text;
    FtpSettings expected;
  };
  const std::vector<Case> cases{
      {"host\r\n21\r\nagro\r\ngeheim\r\n", {"host", "21", "agro", "geheim"}},
      {"host\r21\ragro\rgeheim", {"host", "21", "agro", "geheim"}},
      {"host  \r\n 21\r\nagro\r\ngeheim\r\nextra\r\nmeer", {"host  ", " 21", "agro", "geheim"}},
      {"host\n21\nagro\ngeheim\n", {"host\n21\nagro\ngeheim\n", "", "", ""}},
      {"host\r\n\r\nagro\r\n", {"host", "", "agro", ""}},
      {"", {"", "", "", ""}},
  };
  for (const Case& c : cases) {
    WriteFileBytes(dir.path() + "a.ini", c.text);
    FtpSettings read = LeesFtpInstellingen(dir.path() + "a.ini");
    EXPECT_EQ(read.server, c.expected.server) << c.text;
    EXPECT_EQ(read.port, c.expected.port) << c.text;
    EXPECT_EQ(read.login, c.expected.login) << c.text;
    EXPECT_EQ(read.password, c.expected.password) << c.text;
  }
  EXPECT_EQ(LeesFtpInstellingen(dir.path() + "missing.ini").server, "");
}

TEST(FtpPortTest, EnvironmentReplacesPort21WhenValid) {
  const std::vector<std::pair<const char*, int>> cases{{nullptr, 21}, {"2121", 2121}, {"abc", 21},
                                                       {"0", 21},     {"70000", 21},  {"21x", 21}};
  for (const auto& [value, port] : cases) {
    if (value == nullptr) {
      unsetenv("TYPROSYNC_FTP_PORT");
    } else {
      setenv("TYPROSYNC_FTP_PORT", value, 1);
    }
    EXPECT_EQ(FtpPortFromEnvironment(), port) << (value ? value : "unset");
  }
  unsetenv("TYPROSYNC_FTP_PORT");
}

TEST_F(FtpDeliveryTest, MissingSettingStopsBeforeAnyConnection) {
  struct Case {
    const char* settings;  // nullptr: no settings file
    std::string message;
  };
  const std::vector<Case> cases{
      {nullptr, "Er is geen FTP instelling aangetroffen."},
      {"\r\n21\r\nagro\r\ngeheim\r\n", "Er is geen FTP instelling aangetroffen."},
      {"127.0.0.1\r\n", "Er is geen FTP poort instelling aangetroffen."},
      {"127.0.0.1\n21\nagro\ngeheim\n", "Er is geen FTP poort instelling aangetroffen."},
      {"127.0.0.1\r\n21\r\n", "Er is geen FTP login instelling aangetroffen."},
      {"127.0.0.1\r\n21\r\nagro\r\n", "Er is geen FTP wachtwoord instelling aangetroffen."},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(data_.path() + "agrovision.ini");
    if (c.settings != nullptr) WriteSettings(c.settings);
    ui_.events.clear();
    Deliver("<bericht/>", "1001_20260101_120000.xml");
    const std::vector<std::string> expected{"info: " + c.message, "normal"};
    EXPECT_EQ(ui_.events, expected) << c.message;
    EXPECT_FALSE(LocalCopyExists("1001_20260101_120000.xml"));
  }
  EXPECT_EQ(ServerLog(), "");
}

TEST_F(FtpDeliveryTest, UploadReplacesTheRemoteFileAndLeavesNoLocalCopy) {
  // Any port text passes the check; the connection uses the configured port.
  WriteSettings("127.0.0.1\r\nletters\r\nagro\r\ngeheim\r\nignored\r\n");
  WriteFileBytes(root_.path() + "1001_x.xml", "an older, longer message");
  Deliver("<bericht>\xc3\xa9</bericht>", "1001_x.xml");
  EXPECT_EQ(ReadFileBytes(root_.path() + "1001_x.xml"), "<bericht>\xc3\xa9</bericht>\r\n");
  EXPECT_FALSE(LocalCopyExists("1001_x.xml"));
  const std::vector<std::string> expected{"busy", "normal", "pump", "normal"};
  EXPECT_EQ(ui_.events, expected);
  std::string log = ServerLog();
  // A test connection, then the delivery: into "/", delete, then store.
  size_t second = log.find("CONNECT", 1);
  ASSERT_NE(second, std::string::npos) << log;
  size_t cwd = log.find("CWD ", second);
  EXPECT_NE(log.find(" -> 250", cwd), std::string::npos);
  size_t dele = log.find("DELE ", second);
  size_t type = log.find("TYPE I -> 200", second);
  size_t stor = log.find("STOR ", second);
  EXPECT_LT(cwd, dele);
  EXPECT_LT(dele, stor);
  EXPECT_LT(type, stor);
  EXPECT_EQ(log.find("CONNECT", second + 1), std::string::npos) << log;
  EXPECT_NE(log.find("EPRT"), std::string::npos) << "active mode";
}

TEST_F(FtpDeliveryTest, MissingRemoteFileIsNoFailure) {
  WriteSettings("127.0.0.1\r21\ragro\rgeheim\r");
  Deliver("<a/>", "2002_y.xml");
  EXPECT_EQ(ReadFileBytes(root_.path() + "2002_y.xml"), "<a/>\r\n");
  EXPECT_NE(ServerLog().find("DELE "), std::string::npos);
  const std::vector<std::string> expected{"busy", "normal", "pump", "normal"};
  EXPECT_EQ(ui_.events, expected);
}

TEST_F(FtpDeliveryTest, TestConnectionFailureShowsTheClientText) {
  struct Case {
    std::string settings;
    std::string text;
  };
  const std::vector<Case> cases{
      {"127.0.0.1\r\n21\r\nagro\r\nfout\r\n",
       "Foutmelding (12014)\r\n\r\nHet wachtwoord is onjuist.\r\n"},
      // The spaces after the host name go to the connection as they stand.
      {"127.0.0.1  \r\n21\r\nagro\r\ngeheim\r\n",
       "Foutmelding (12007)\r\n\r\nDe servernaam of het serveradres kan niet worden omgezet.\r\n"},
  };
  for (const Case& c : cases) {
    WriteSettings(c.settings);
    ui_.events.clear();
    Deliver("<a/>", "3003_z.xml");
    const std::vector<std::string> expected{"busy", "warning: " + c.text, "normal"};
    EXPECT_EQ(ui_.events, expected);
    EXPECT_FALSE(LocalCopyExists("3003_z.xml"));
  }
  EXPECT_EQ(ServerLog().find("STOR"), std::string::npos);
  server_.reset();
  WriteSettings("127.0.0.1\r\n21\r\nagro\r\ngeheim\r\n");
  ui_.events.clear();
  Deliver("<a/>", "3003_z.xml");
  ASSERT_EQ(ui_.events.size(), 3u);
  EXPECT_EQ(ui_.events[1],
            "warning: Foutmelding (12029)\r\n\r\nEr kan geen verbinding met de server worden "
            "gemaakt.\r\n");
}

TEST_F(FtpDeliveryTest, RefusedUploadShowsTheServerReplyAndKeepsTheLocalCopy) {
  StartServer("elr");
  WriteSettings("127.0.0.1\r\n21\r\nagro\r\ngeheim\r\n");
  Deliver("<a/>", "4004_w.xml");
  const std::vector<std::string> expected{"busy", "normal", "pump",
                                          "warning: 550 Not enough privileges.\r\n", "normal"};
  EXPECT_EQ(ui_.events, expected);
  EXPECT_EQ(ReadFileBytes(data_.path() + "4004_w.xml"), "<a/>\r\n");
  EXPECT_FALSE(std::filesystem::exists(root_.path() + "4004_w.xml"));
}

TEST_F(FtpDeliveryTest, NamesOutsideTheDataFolderAreRefused) {
  WriteSettings("127.0.0.1\r\n21\r\nagro\r\ngeheim\r\n");
  for (const std::string name : {"../5005.xml", "sub/5005.xml", "..", "a\\b.xml", ""}) {
    ui_.events.clear();
    Deliver("<a/>", name);
    ASSERT_EQ(ui_.events.size(), 1u) << name;
    EXPECT_EQ(ui_.events[0].rfind("warning: De bestandsnaam", 0), 0u) << ui_.events[0];
  }
  EXPECT_EQ(ServerLog(), "");
  EXPECT_FALSE(std::filesystem::exists(data_.path() + "../5005.xml"));
}

}  // namespace
}  // namespace typrosync

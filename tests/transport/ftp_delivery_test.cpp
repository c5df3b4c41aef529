#include "transport/ftp_delivery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/test_server.h"

namespace typrosync {
namespace {

using test_support::ReadFileBytes;
using test_support::WriteFileBytes;
using Strings = std::vector<std::string>;

// The person pressing OK: every box, pointer change and event pump in order.
class RecordingUserInterface : public UserInterface {
 public:
  void ProcessPendingEvents() override { events.push_back("pump"); }
  void SetBusyPointer(bool busy) override { events.push_back(busy ? "busy" : "normal"); }
  void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override {
    EXPECT_EQ(title, "Beheer - TallyraPro");
    events.push_back((icon == MessageIcon::kInformation ? "info: "
                      : icon == MessageIcon::kWarning   ? "warning: "
                                                        : "other: ") +
                     text);
  }
  Strings events;
};

const Strings kDelivered{"busy", "normal", "pump", "normal"};
const std::string kSettings = "127.0.0.1\r\n21\r\nagro\r\ngeheim\r\n";

class FtpDeliveryTest : public ::testing::Test {
 protected:
  void StartServer(const std::string& perm) {
    server_ = std::make_unique<test_support::FtpTestServer>(
        test_support::FtpServerOptions{root_.path(), "agro", "geheim", perm, Log()});
  }
  void SetUp() override { StartServer("elradfmwMT"); }
  // Delivers with `settings` as agrovision.ini (none when null); the boxes shown.
  Strings Deliver(const char* settings, const std::string& name = "1001_x.xml") {
    std::filesystem::remove(data_.path() + "agrovision.ini");
    if (settings) WriteFileBytes(data_.path() + "agrovision.ini", settings);
    ui_.events.clear();
    MakeFtpSender(data_.path(), ui_, {server_ ? server_->port() : 1, 60000, 5000})
        ->VerstuurViaFTP("<bericht>\xc3\xa9</bericht>", name);
    return ui_.events;
  }
  std::string Log() const { return log_dir_.path() + "server.log"; }
  bool Exists(const std::string& path) const { return std::filesystem::exists(path); }

  test_support::TempDir data_, root_, log_dir_;
  std::unique_ptr<test_support::FtpTestServer> server_;
  RecordingUserInterface ui_;
};

// Lines of agrovision.ini end at CR LF or CR only; the port text is only
// checked to be there, and what follows the password is ignored.
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
    std::filesystem::remove(root_.path() + "1001_x.xml");
    EXPECT_EQ(Deliver(c.settings),
              (c.box.empty()                 ? kDelivered
               : c.box.starts_with("info: ") ? Strings{c.box, "normal"}
                                             : Strings{"busy", c.box, "normal"}));
    EXPECT_EQ(ReadFileBytes(root_.path() + "1001_x.xml"),
              c.box.empty() ? "<bericht>\xc3\xa9</bericht>\r\n" : "")
        << c.box;
    EXPECT_FALSE(Exists(data_.path() + "1001_x.xml")) << c.box;
  }
  EXPECT_NE(ReadFileBytes(Log()).find(" -> 550"), std::string::npos);  // no file to delete: fine
  server_.reset();
  EXPECT_EQ(Deliver(kSettings.c_str()), (Strings{"busy",
                                                 "warning: Foutmelding (12029)\r\n\r\nEr kan geen "
                                                 "verbinding met de server worden gemaakt.\r\n",
                                                 "normal"}));
}

// A test connection, then the delivery into "/": delete, then store, binary, active.
TEST_F(FtpDeliveryTest, UploadReplacesTheRemoteFile) {
  WriteFileBytes(root_.path() + "1001_x.xml", "an older, longer message");
  EXPECT_EQ(Deliver(kSettings.c_str()), kDelivered);
  EXPECT_EQ(ReadFileBytes(root_.path() + "1001_x.xml"), "<bericht>\xc3\xa9</bericht>\r\n");
  std::string log = ReadFileBytes(Log());
  size_t second = log.find("CONNECT", 1);
  size_t cwd = log.find(" -> 250", log.find("CWD ", second)), dele = log.find("DELE ", second);
  size_t type = log.find("TYPE I -> 200", second), stor = log.find("STOR ", second);
  EXPECT_TRUE(cwd < dele && dele < stor && type < stor && stor != std::string::npos) << log;
  EXPECT_EQ(log.find("CONNECT", second + 1), std::string::npos) << log;
  EXPECT_NE(log.find("EPRT"), std::string::npos) << log;
}

TEST_F(FtpDeliveryTest, RefusedUploadShowsTheServerReplyAndKeepsTheLocalCopy) {
  StartServer("elr");
  EXPECT_EQ(
      Deliver(kSettings.c_str()),
      Strings({"busy", "normal", "pump", "warning: 550 Not enough privileges.\r\n", "normal"}));
  EXPECT_EQ(ReadFileBytes(data_.path() + "1001_x.xml"), "<bericht>\xc3\xa9</bericht>\r\n");
  EXPECT_FALSE(Exists(root_.path() + "1001_x.xml"));
}

TEST_F(FtpDeliveryTest, NamesOutsideTheDataFolderAreRefused) {
  for (const std::string name : {"../5005.xml", "sub/5005.xml", "..", "a\\b.xml", ""}) {
    Strings boxes = Deliver(kSettings.c_str(), name);
    ASSERT_EQ(boxes.size(), 1u) << name;
    EXPECT_TRUE(boxes[0].starts_with("warning: De bestandsnaam")) << boxes[0];
  }
  EXPECT_EQ(ReadFileBytes(Log()), "");
  EXPECT_FALSE(Exists(data_.path() + "../5005.xml"));
}

}  // namespace
}  // namespace typrosync

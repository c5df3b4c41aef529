// The hand-over of a built message: Crop-R over a real local HTTPS server,
// AgroVision to a real local FTP server, and what the builders do with the
// outcome (acknowledgement, status line, busy flag).

#include <gtest/gtest.h>

#include <filesystem>

#include "message/message_test_support.h"
#include "support/test_server.h"

namespace typrosync {
namespace {

using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

// The body of a request recorded by the HTTPS test server.
std::string RecordedBody(const std::string& path) {
  std::string request = ReadFileBytes(path);
  size_t end = request.find("\r\n\r\n");
  return end == std::string::npos ? "" : request.substr(end + 4);
}

class DeliveryHandoverTest : public MessageTestBase {
 protected:
  void SetUp() override {
    MessageTestBase::SetUp();
    admin().Insert("RelatieGegevens", {{"RelNr", "'10234'"}, {"bedrijfsnaam1", "'Boer'"}});
    AddArticle("A1", "1", "0");
    AddOrderLine("102342024030400010001", "5001", "A1", "10", "1", "0", "Middel", "", "20240304",
                 "20240304", "", "");
    AddRow("MB1", "5001", "A1", "102342024030400010001");
  }

  // Starts the HTTPS server answering `reply` and opens the builders on it.
  void OpenWithCropR(const std::string& reply) {
    std::filesystem::create_directory(server_dir_.path() + "requests");
    WriteFileBytes(server_dir_.path() + "reply", reply);
    test_support::HttpsServerOptions options;
    options.certificate = test_support::MakeTestCertificate(server_dir_.path(), "server");
    options.reply_file = server_dir_.path() + "reply";
    options.record_dir = server_dir_.path() + "requests";
    server_ = std::make_unique<test_support::HttpsTestServer>(options);
    HttpsOptions https;
    https.url = server_->url();
    https.ca_bundle = options.certificate.cert;
    https_ = MakeHttpsSender(admin().folder(), https);
    Open(https_.get());
  }

  std::string Request(int n) const {
    return RecordedBody(server_dir_.path() + "requests/request-" + std::to_string(n) + ".txt");
  }

  test_support::TempDir server_dir_;
  std::unique_ptr<test_support::HttpsTestServer> server_;
  std::unique_ptr<HttpsSender> https_;
};

TEST_F(DeliveryHandoverTest, CropRAcknowledgementInAnyCaseMarksDelivered) {
  OpenWithCropR("<OK />");
  std::string bericht = builder().BouwBericht("10234", Platform::kCropR).value();
  EXPECT_TRUE(builder().BouwBerichtCropR("10234"));
  EXPECT_EQ(bericht, Request(1));
  EXPECT_EQ("", LogText());
}

TEST_F(DeliveryHandoverTest, CropRRefusalIsLoggedWithTheReply) {
  OpenWithCropR("<ok/>\r\n");
  EXPECT_FALSE(builder().BouwBerichtCropR("10234"));
  EXPECT_NE(std::string::npos, LogText().find("CROPR     : Status          : <ok/>\r\n\r\n"));
  EXPECT_NE("", Request(1));
}

TEST_F(DeliveryHandoverTest, UnknownCustomerSendsNothing) {
  OpenWithCropR("<ok/>");
  EXPECT_FALSE(builder().BouwBerichtCropR("55555"));
  EXPECT_FALSE(std::filesystem::exists(server_dir_.path() + "requests/request-1.txt"));
  state().bBezig = true;
  builder().BouwBerichtAgroVision("55555");
  EXPECT_TRUE(state().bBezig);
  EXPECT_EQ("", LogText());
}

// After the request itself failed, the run's later Crop-R messages are not
// attempted (the transport would have rewritten bericht.xml) and say so.
TEST_F(DeliveryHandoverTest, UnreachableCropRStopsLaterCropRMessages) {
  Open();  // Crop-R at a closed port
  EXPECT_FALSE(builder().BouwBerichtCropR("10234"));
  std::string log = LogText();
  EXPECT_NE(std::string::npos, log.find("CROPR     : Status          : ")) << log;
  std::filesystem::remove(admin().folder() + "bericht.xml");
  EXPECT_FALSE(builder().BouwBerichtCropR("10234"));
  EXPECT_FALSE(std::filesystem::exists(admin().folder() + "bericht.xml"));
  EXPECT_NE(std::string::npos, LogText().find("Niet verstuurd: Crop-R was eerder in deze run "
                                              "onbereikbaar"));
}

TEST_F(DeliveryHandoverTest, AgroVisionUploadsUnderCustomerAndRunStamp) {
  test_support::TempDir ftp_root;
  test_support::FtpServerOptions options;
  options.root = ftp_root.path();
  test_support::FtpTestServer ftp_server(options);
  WriteFileBytes(admin().folder() + "agrovision.ini",
                 "127.0.0.1\r\n" + std::to_string(ftp_server.port()) + "\r\nagro\r\ngeheim\r\n");
  std::unique_ptr<FtpSender> ftp =
      MakeFtpSender(admin().folder(), ui_, FtpDeliveryOptions{ftp_server.port(), 5000, 5000});
  Open(nullptr, ftp.get());
  std::string bericht = builder().BouwBericht("10234", Platform::kAgroVision).value();
  state().bBezig = true;
  builder().BouwBerichtAgroVision("10234");
  EXPECT_FALSE(state().bBezig);
  EXPECT_EQ(bericht + "\r\n", ReadFileBytes(ftp_root.path() + "10234_20240304_090501.xml"));
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_FALSE(std::filesystem::exists(admin().folder() + "10234_20240304_090501.xml"));
}

// A refused upload is shown by the transport; the builder still clears the
// busy flag and its caller marks the lines.
TEST_F(DeliveryHandoverTest, RefusedAgroVisionUploadStillClearsBusy) {
  test_support::TempDir ftp_root;
  test_support::FtpServerOptions options;
  options.root = ftp_root.path();
  options.perm = "elr";
  test_support::FtpTestServer ftp_server(options);
  WriteFileBytes(admin().folder() + "agrovision.ini",
                 "127.0.0.1\r\n" + std::to_string(ftp_server.port()) + "\r\nagro\r\ngeheim\r\n");
  std::unique_ptr<FtpSender> ftp =
      MakeFtpSender(admin().folder(), ui_, FtpDeliveryOptions{ftp_server.port(), 5000, 5000});
  Open(nullptr, ftp.get());
  state().bBezig = true;
  builder().BouwBerichtAgroVision("10234");
  EXPECT_FALSE(state().bBezig);
  EXPECT_EQ(1u, ui_.messages.size());
  EXPECT_FALSE(std::filesystem::exists(ftp_root.path() + "10234_20240304_090501.xml"));
}

}  // namespace
}  // namespace typrosync

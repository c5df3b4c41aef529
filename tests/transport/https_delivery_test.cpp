#include "transport/https_delivery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "support/test_server.h"

namespace typrosync {
namespace {

using test_support::HttpsTestServer;
using test_support::ReadFileBytes;
using test_support::TempDir;

class HttpsDeliveryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    trusted_ = test_support::MakeTestCertificate(certs_.path(), "trusted");
    stranger_ = test_support::MakeTestCertificate(certs_.path(), "stranger");
  }

  std::unique_ptr<HttpsTestServer> Server(int status,
                                          const test_support::TestCertificate& cert = trusted_,
                                          bool silent = false, double handshake_delay_s = 0) {
    std::filesystem::create_directory(server_dir_.path() + "requests");
    return std::make_unique<HttpsTestServer>(test_support::HttpsServerOptions{
        cert, server_dir_.path() + "reply", server_dir_.path() + "requests", status, silent,
        handshake_delay_s});
  }
  // Sending and receiving time out after `io_ms`.
  std::unique_ptr<HttpsSender> Sender(const std::string& url, bool reuse = true,
                                      const std::string& ca = trusted_.cert,
                                      long connect_ms = 60000, long io_ms = 30000) {
    return MakeHttpsSender(data_.path(), {url, ca, connect_ms, io_ms, io_ms, reuse});
  }
  // The recorded request: "#conn C" line, request line, headers, empty line, body.
  std::string Request(int n) const {
    return ReadFileBytes(server_dir_.path() + "requests/request-" + std::to_string(n) + ".txt");
  }
  std::string DataFile(const std::string& name) const { return ReadFileBytes(data_.path() + name); }

  static inline TempDir certs_;
  static inline test_support::TestCertificate trusted_, stranger_;
  TempDir data_, server_dir_;
};

TEST_F(HttpsDeliveryTest, SendsTheFixedHeadersAndTheBodyBytes) {
  auto server = Server(200);
  const std::string common =
      " /supplier/edi_levering/ HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server->port()) +
      "\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
      "Accept-Language: nl,en-us;q=0.7,en;q=0.3\r\nConnection: keep-alive\r\n"
      "User-Agent: Brenvik TallyraPro Agri AutoSync 1.0 (nl-NL) Core\r\n";
  const std::string kXml = "Content-Type: application/xml; charset=UTF-8\r\n";
  const struct {
    std::string bericht, head;
  } cases[] = {
      {"<?xml version=\"1.0\"?><a>Bl\xc3\xa9</a>",  // 31 characters, 32 bytes
       "POST" + common + "Content-Length: 32\r\n" + kXml},
      {std::string(20000, 'x'), "POST" + common + "Content-Length: 20000\r\n" + kXml},  // no Expect
      {"", "GET" + common},
  };
  auto sender = Sender(server->url());
  int n = 0;
  for (const auto& c : cases) {
    ASSERT_TRUE(sender->VerstuurViaHTTPS(c.bericht).sent);
    std::string request = Request(++n);
    EXPECT_EQ(request.substr(request.find("\r\n") + 2), c.head + "\r\n" + c.bericht);
  }
}

// The transport judges nothing: every reply, whatever the status, comes back
// as received. An unwritable bericht.xml stops nothing.
TEST_F(HttpsDeliveryTest, RepliesComeBackAsReceivedAndAreKept) {
  std::filesystem::create_directory(data_.path() + "bericht.xml");
  std::string kept;
  for (int status : {200, 500}) {
    auto server = Server(status);
    auto sender = Sender(server->url());
    for (std::string reply : {"<ok/>", "<OK />", "<ok>", "<ok/>\r\n",
                              "<?xml version=\"1.0\"?><ok/>", "Fout: onbekende relatie"}) {
      test_support::WriteFileBytes(server_dir_.path() + "reply", reply);
      HttpsReply got = sender->VerstuurViaHTTPS("<a/>");
      EXPECT_TRUE(got.sent) << status << got.failure;
      EXPECT_EQ(got.reply, reply) << status;
      kept += reply + "\r\n";
    }
  }
  EXPECT_EQ(DataFile("response.txt"), kept);
  EXPECT_TRUE(Request(6).ends_with("\r\n\r\n<a/>"));
}

TEST_F(HttpsDeliveryTest, OneConnectionServesTheMessagesOfARun) {
  auto server = Server(200);
  auto reusing = Sender(server->url());
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(reusing->VerstuurViaHTTPS("<a/>").sent);
  auto fresh = Sender(server->url(), false);
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(fresh->VerstuurViaHTTPS("").sent);
  std::string connections;
  for (int n = 1; n <= 5; ++n) connections += Request(n).substr(0, Request(n).find("\r\n")) + " ";
  EXPECT_EQ(connections, "#conn 1 #conn 1 #conn 1 #conn 2 #conn 3 ");
}

// Sending and receiving time only once the connection is up. Every time-out
// that must fire is short against a server that never answers or answers
// seconds late, and every one that must not fire is long, so a busy machine
// cannot change the outcome.
TEST_F(HttpsDeliveryTest, RequestFailuresAreNotReplies) {
  auto stranger = Server(200, stranger_);  // a certificate the client does not trust
  auto silent = Server(200, trusted_, true);
  auto slow = Server(200, trusted_, false, 3);
  const test_support::RefusingPort refusing;
  const std::string kNoTime = "De server heeft niet op tijd geantwoord.";
  const std::string kCert = "Het certificaat van de server kon niet worden gecontroleerd.";
  const struct {
    std::string url, ca_bundle;
    long connect_ms, io_ms;
    std::string failure;  // empty: sent
  } cases[] = {
      {"https://127.0.0.1:" + std::to_string(refusing.port()) + "/", trusted_.cert, 30000, 30000,
       "Er kon geen verbinding met de server worden gemaakt."},
      {silent->url(), trusted_.cert, 30000, 500, kNoTime},
      {stranger->url(), trusted_.cert, 30000, 30000, kCert},
      {stranger->url(), "", 30000, 30000, kCert},
      {slow->url(), trusted_.cert, 30000, 30000, ""},
      {slow->url(), trusted_.cert, 500, 30000, kNoTime},
  };
  for (const auto& c : cases) {
    HttpsReply reply =
        Sender(c.url, true, c.ca_bundle, c.connect_ms, c.io_ms)->VerstuurViaHTTPS("<a/>");
    EXPECT_EQ(reply.sent, c.failure.empty()) << c.url;
    EXPECT_EQ(reply.failure, c.failure) << c.url;
  }
  EXPECT_EQ(DataFile("response.txt"), "\r\n");  // the one empty reply of the slow server
  EXPECT_EQ(DataFile("bericht.xml"), "<a/>\r\n");
}

// A reply that keeps trickling in passes every idle time-out; the deadline
// of the whole exchange ends it as a time-out.
TEST_F(HttpsDeliveryTest, TricklingReplyEndsAtTheDeadline) {
  test_support::HttpsServerOptions options;
  options.certificate = trusted_;
  options.trickle = true;
  HttpsTestServer trickling(options);
  HttpsOptions settings{trickling.url(), trusted_.cert, 60000, 800, 800, true};
  settings.exchange_timeout_ms = 1500;
  HttpsReply reply = MakeHttpsSender(data_.path(), settings)->VerstuurViaHTTPS("<a/>");
  EXPECT_FALSE(reply.sent);
  EXPECT_EQ(reply.failure, "De server heeft niet op tijd geantwoord.");
  EXPECT_EQ(DataFile("response.txt"), "");
}

// A stop request lets the message in flight have its reply, but cuts off one
// that would go on for longer than the grace period.
TEST_F(HttpsDeliveryTest, StopRequestLeavesTheRequestInFlightAGracePeriod) {
  struct Stopped : StopRequest {
    bool StopRequested() const override { return true; }
    std::string Reason() const override { return "gestopt"; }
  } stopped;
  test_support::WriteFileBytes(server_dir_.path() + "reply", "<ok/>");
  auto answering = Server(200);
  test_support::HttpsServerOptions options;
  options.certificate = trusted_;
  options.trickle = true;
  HttpsTestServer trickling(options);
  for (const std::string& url : {answering->url(), trickling.url()}) {
    HttpsOptions settings{url, trusted_.cert, 60000, 800, 800, true};
    settings.stop = &stopped;
    settings.stop_grace_ms = 1000;
    HttpsReply reply = MakeHttpsSender(data_.path(), settings)->VerstuurViaHTTPS("<a/>");
    EXPECT_EQ(reply.sent, url == answering->url()) << url;
    EXPECT_EQ(reply.reply + reply.failure,
              reply.sent ? "<ok/>" : "De server heeft niet op tijd geantwoord.");
  }
}

// Replies are read up to 1 MiB: a longer one comes back as its first MiB,
// which is no acknowledgement, and only that part is kept. The connection
// is not reused after a cut; the next message goes out as usual.
TEST_F(HttpsDeliveryTest, RepliesOverOneMebibyteAreCutOff) {
  constexpr size_t kCap = size_t{1} << 20;
  auto server = Server(200);
  auto sender = Sender(server->url());
  size_t kept = 0;
  for (size_t size : {kCap, kCap + 1, 5 * kCap}) {
    test_support::WriteFileBytes(server_dir_.path() + "reply", std::string(size, 'x'));
    HttpsReply got = sender->VerstuurViaHTTPS("<a/>");
    EXPECT_TRUE(got.sent) << size << got.failure;
    EXPECT_EQ(got.reply, std::string(std::min(size, kCap), 'x')) << size;
    kept += std::min(size, kCap) + 2;
  }
  EXPECT_EQ(DataFile("response.txt").size(), kept);
  test_support::WriteFileBytes(server_dir_.path() + "reply", "<ok/>");
  EXPECT_EQ(sender->VerstuurViaHTTPS("<a/>").reply, "<ok/>");
}

TEST(CropREndpointTest, FixedUrlWithoutTheTestVariable) {
  unsetenv("TYPROSYNC_CROPR_URL");
  EXPECT_EQ(CropREndpoint(), "https://edi.crop-r.com/supplier/edi_levering/");
}

}  // namespace
}  // namespace typrosync

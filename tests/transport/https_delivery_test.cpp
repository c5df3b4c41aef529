#include "transport/https_delivery.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/test_server.h"

namespace typrosync {
namespace {

using test_support::HttpsServerOptions;
using test_support::HttpsTestServer;
using test_support::MakeTestCertificate;
using test_support::ReadFileBytes;
using test_support::TempDir;
using test_support::TestCertificate;
using test_support::WriteFileBytes;

// One recorded request: connection number, request line, headers, body.
struct Recorded {
  std::string connection;
  std::string request_line;
  std::vector<std::string> headers;
  std::string body;
};

Recorded ParseRecorded(const std::string& raw) {
  Recorded out;
  size_t end = raw.find("\r\n\r\n");
  std::string head = raw.substr(0, end);
  out.body = raw.substr(end + 4);
  std::vector<std::string> lines;
  for (size_t pos = 0; pos <= head.size();) {
    size_t next = head.find("\r\n", pos);
    if (next == std::string::npos) next = head.size();
    lines.push_back(head.substr(pos, next - pos));
    pos = next + 2;
  }
  out.connection = lines.at(0);
  out.request_line = lines.at(1);
  out.headers.assign(lines.begin() + 2, lines.end());
  return out;
}

// A port nobody listens on: bound once and released.
int ClosedPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

class HttpsDeliveryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    certs_ = new TempDir();
    trusted_ = MakeTestCertificate(certs_->path(), "trusted");
    stranger_ = MakeTestCertificate(certs_->path(), "stranger");
  }
  static void TearDownTestSuite() { delete certs_; }

  void StartServer(int status = 200, const TestCertificate* cert = nullptr) {
    std::filesystem::create_directory(record_dir());
    HttpsServerOptions options;
    options.certificate = cert ? *cert : trusted_;
    options.reply_file = server_dir_.path() + "reply.txt";
    options.record_dir = record_dir();
    options.status = status;
    server_ = std::make_unique<HttpsTestServer>(options);
  }

  HttpsOptions Options() const {
    HttpsOptions options;
    options.url = server_ ? server_->url() : "";
    options.ca_bundle = trusted_.cert;
    return options;
  }

  void SetReply(const std::string& reply) {
    WriteFileBytes(server_dir_.path() + "reply.txt", reply);
  }
  std::string record_dir() const { return server_dir_.path() + "requests"; }
  Recorded Request(int number) const {
    return ParseRecorded(
        ReadFileBytes(record_dir() + "/request-" + std::to_string(number) + ".txt"));
  }
  std::string DataFile(const std::string& name) const { return ReadFileBytes(data_.path() + name); }

  static TempDir* certs_;
  static TestCertificate trusted_;
  static TestCertificate stranger_;
  TempDir data_;
  TempDir server_dir_;
  std::unique_ptr<HttpsTestServer> server_;
};

TempDir* HttpsDeliveryTest::certs_ = nullptr;
TestCertificate HttpsDeliveryTest::trusted_;
TestCertificate HttpsDeliveryTest::stranger_;

TEST_F(HttpsDeliveryTest, PostsTheMessageWithExactlyTheFixedHeaders) {
  StartServer();
  SetReply("<ok/>");
  std::string bericht = "<?xml version=\"1.0\"?><a>Bl\xc3\xa9</a>";  // one two-byte character
  auto sender = MakeHttpsSender(data_.path(), Options());
  HttpsReply reply = sender->VerstuurViaHTTPS(bericht);
  ASSERT_TRUE(reply.sent) << reply.failure;
  Recorded request = Request(1);
  EXPECT_EQ(request.request_line, "POST /supplier/edi_levering/ HTTP/1.1");
  std::vector<std::string> expected{
      "Host: 127.0.0.1:" + std::to_string(server_->port()),
      "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8",
      "Accept-Language: nl,en-us;q=0.7,en;q=0.3",
      "Connection: keep-alive",
      "User-Agent: Brenvik TallyraPro Agri AutoSync 1.0 (nl-NL) Core",
      "Content-Length: 32",
      "Content-Type: application/xml; charset=UTF-8"};
  EXPECT_EQ(request.headers, expected);
  EXPECT_EQ(request.body, bericht);
  EXPECT_EQ(bericht.size(), 32u);  // 31 characters
}

TEST_F(HttpsDeliveryTest, LargeBodyIsSentWithoutExpectHeader) {
  StartServer();
  std::string bericht(20000, 'x');
  auto sender = MakeHttpsSender(data_.path(), Options());
  ASSERT_TRUE(sender->VerstuurViaHTTPS(bericht).sent);
  Recorded request = Request(1);
  EXPECT_EQ(request.body, bericht);
  EXPECT_EQ(request.headers.at(5), "Content-Length: 20000");
  EXPECT_EQ(request.headers.size(), 7u);
}

TEST_F(HttpsDeliveryTest, EmptyMessageIsAGetWithTheFourCommonHeaders) {
  StartServer();
  SetReply("leeg");
  auto sender = MakeHttpsSender(data_.path(), Options());
  HttpsReply reply = sender->VerstuurViaHTTPS("");
  ASSERT_TRUE(reply.sent) << reply.failure;
  EXPECT_EQ(reply.reply, "leeg");
  Recorded request = Request(1);
  EXPECT_EQ(request.request_line, "GET /supplier/edi_levering/ HTTP/1.1");
  ASSERT_EQ(request.headers.size(), 5u);
  EXPECT_EQ(request.headers[4], "User-Agent: Brenvik TallyraPro Agri AutoSync 1.0 (nl-NL) Core");
  EXPECT_EQ(request.body, "");
  EXPECT_EQ(DataFile("bericht.xml"), "\r\n");
  EXPECT_EQ(DataFile("response.txt"), "leeg\r\n");
}

// The transport judges nothing: every reply comes back as received and is
// appended to response.txt; bericht.xml keeps only the last message.
TEST_F(HttpsDeliveryTest, RepliesAreReturnedAndKeptInTheDataFolder) {
  StartServer();
  auto sender = MakeHttpsSender(data_.path(), Options());
  const std::vector<std::string> replies{"<ok/>",
                                         "<OK />",
                                         "<ok>",
                                         "<ok/>\r\n",
                                         "<?xml version=\"1.0\"?><ok/>",
                                         "Fout: onbekende relatie"};
  std::string expected_log;
  for (size_t i = 0; i < replies.size(); ++i) {
    SetReply(replies[i]);
    std::string bericht = "<bericht nr=\"" + std::to_string(i) + "\"/>";
    HttpsReply reply = sender->VerstuurViaHTTPS(bericht);
    ASSERT_TRUE(reply.sent) << reply.failure;
    EXPECT_EQ(reply.reply, replies[i]);
    EXPECT_EQ(DataFile("bericht.xml"), bericht + "\r\n");
    expected_log += replies[i] + "\r\n";
  }
  EXPECT_EQ(DataFile("response.txt"), expected_log);
}

TEST_F(HttpsDeliveryTest, ErrorStatusStillReturnsTheBody) {
  StartServer(500);
  SetReply("<ok/>");
  auto sender = MakeHttpsSender(data_.path(), Options());
  HttpsReply reply = sender->VerstuurViaHTTPS("<x/>");
  EXPECT_TRUE(reply.sent);
  EXPECT_EQ(reply.reply, "<ok/>");
}

TEST_F(HttpsDeliveryTest, UnwritableLastMessageFileDoesNotStopTheRequest) {
  StartServer();
  SetReply("<ok/>");
  std::filesystem::create_directory(data_.path() + "bericht.xml");  // cannot be opened as a file
  auto sender = MakeHttpsSender(data_.path(), Options());
  HttpsReply reply = sender->VerstuurViaHTTPS("<x/>");
  ASSERT_TRUE(reply.sent) << reply.failure;
  EXPECT_EQ(Request(1).body, "<x/>");
}

TEST_F(HttpsDeliveryTest, OneConnectionServesTheMessagesOfARun) {
  StartServer();
  auto reusing = MakeHttpsSender(data_.path(), Options());
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(reusing->VerstuurViaHTTPS("<a/>").sent);
  HttpsOptions fresh_options = Options();
  fresh_options.reuse_connection = false;
  auto fresh = MakeHttpsSender(data_.path(), fresh_options);
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(fresh->VerstuurViaHTTPS("").sent);
  EXPECT_EQ(Request(1).connection, Request(2).connection);
  EXPECT_EQ(Request(2).connection, Request(3).connection);
  EXPECT_NE(Request(3).connection, Request(4).connection);
  EXPECT_NE(Request(4).connection, Request(5).connection);
}

TEST_F(HttpsDeliveryTest, RequestFailuresAreNotReplies) {
  StartServer(200, &stranger_);  // a certificate the client does not trust
  HttpsServerOptions silent_options;
  silent_options.certificate = trusted_;
  silent_options.silent = true;
  HttpsTestServer silent(silent_options);

  struct Case {
    std::string url;
    std::string ca_bundle;
    std::string failure;
  };
  const std::vector<Case> cases{
      {"https://127.0.0.1:" + std::to_string(ClosedPort()) + "/", trusted_.cert,
       "Er kon geen verbinding met de server worden gemaakt."},
      {silent.url(), trusted_.cert, "De server heeft niet op tijd geantwoord."},
      {server_->url(), trusted_.cert,
       "Het certificaat van de server kon niet worden gecontroleerd."},
      {server_->url(), "", "Het certificaat van de server kon niet worden gecontroleerd."},
      {"https://naam.invalid/supplier/edi_levering/", trusted_.cert,
       "De naam van de server kon niet worden gevonden."},
  };
  for (const Case& c : cases) {
    HttpsOptions options;
    options.url = c.url;
    options.ca_bundle = c.ca_bundle;
    options.send_timeout_ms = 800;
    options.receive_timeout_ms = 800;
    HttpsReply reply = MakeHttpsSender(data_.path(), options)->VerstuurViaHTTPS("<a/>");
    EXPECT_FALSE(reply.sent) << c.url;
    EXPECT_EQ(reply.reply, "");
    EXPECT_EQ(reply.failure, c.failure) << c.url;
  }
  EXPECT_FALSE(std::filesystem::exists(data_.path() + "response.txt"));
  EXPECT_EQ(DataFile("bericht.xml"), "<a/>\r\n");
}

// The send and receive time-outs start once the connection is up.
TEST_F(HttpsDeliveryTest, SlowHandshakeFallsUnderTheConnectTimeOut) {
  HttpsServerOptions slow_options;
  slow_options.certificate = trusted_;
  slow_options.handshake_delay_s = 1.5;
  HttpsTestServer slow(slow_options);
  HttpsOptions options;
  options.url = slow.url();
  options.ca_bundle = trusted_.cert;
  options.send_timeout_ms = 500;
  options.receive_timeout_ms = 500;
  options.connect_timeout_ms = 10000;
  HttpsReply reply = MakeHttpsSender(data_.path(), options)->VerstuurViaHTTPS("<a/>");
  EXPECT_TRUE(reply.sent) << reply.failure;
  options.connect_timeout_ms = 500;
  reply = MakeHttpsSender(data_.path(), options)->VerstuurViaHTTPS("<a/>");
  EXPECT_FALSE(reply.sent);
}

TEST(CropREndpointTest, FixedUrlUnlessTheEnvironmentReplacesIt) {
  unsetenv("TYPROSYNC_CROPR_URL");
  std::string fixed = CropREndpoint();
  EXPECT_EQ(fixed.rfind("https://", 0), 0u);
  EXPECT_TRUE(fixed.ends_with(".crop-r.com/supplier/edi_levering/")) << fixed;
  setenv("TYPROSYNC_CROPR_URL", "https://127.0.0.1:1/x", 1);
  EXPECT_EQ(CropREndpoint(), "https://127.0.0.1:1/x");
  setenv("TYPROSYNC_CA_BUNDLE", "/tmp/ca.pem", 1);
  EXPECT_EQ(HttpsOptionsFromEnvironment().ca_bundle, "/tmp/ca.pem");
  unsetenv("TYPROSYNC_CROPR_URL");
  unsetenv("TYPROSYNC_CA_BUNDLE");
}

}  // namespace
}  // namespace typrosync

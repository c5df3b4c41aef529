// The WinHTTP sender against real local HTTPS servers (under Wine here),
// started beside this program by with_https_servers.py: the request bytes
// the server receives, the replies, connection reuse, certificates trusted
// through TYPROSYNC_CA_BUNDLE or refused, the time-outs and the deadline,
// the stop grace and the reply cap, as for the Linux sender.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "transport/https_delivery.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;

// A value the wrapper script sets; the test fails without it rather than
// passing with nothing tested.
std::string Setting(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) ADD_FAILURE() << name << " is not set: run under with_https_servers.py";
  return value == nullptr ? std::string() : value;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Url(const char* server) {
  return Setting((std::string("TYPRO_HTTPS_") + server + "_URL").c_str());
}

class HttpsDeliveryWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = fs::temp_directory_path() /
            ("typro-https-" + std::to_string(GetCurrentProcessId()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(base_);
    data_ = base_.generic_string() + "/";
    first_ = Recorded("requests");
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(base_, ignored);
  }

  std::unique_ptr<HttpsSender> Sender(const std::string& url, bool reuse = true,
                                      const std::string& ca = Setting("TYPRO_HTTPS_CA"),
                                      long connect_ms = 60000, long io_ms = 30000) {
    return MakeHttpsSender(data_, {url, ca, connect_ms, io_ms, io_ms, reuse});
  }
  static int Recorded(const char* folder) {
    const fs::path dir = Setting("TYPRO_HTTPS_DIR") + folder;
    return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
  }
  // The n-th request the trusted server recorded in this test: "#conn C",
  // request line, headers, empty line, body.
  std::string Request(int n, const char* folder = "requests") const {
    return ReadBytes(Setting("TYPRO_HTTPS_DIR") + folder + "/request-" +
                     std::to_string((folder == std::string("requests") ? first_ : 0) + n) +
                     ".txt");
  }
  static void Reply(const std::string& bytes) {
    WriteBytes(Setting("TYPRO_HTTPS_DIR") + "reply", bytes);
  }
  std::string DataFile(const std::string& name) const { return ReadBytes(base_ / name); }

  fs::path base_;
  std::string data_;
  int first_ = 0;
};

TEST_F(HttpsDeliveryWindowsTest, SendsTheFixedHeadersAndTheBodyBytes) {
  const std::string url = Url("TRUSTED");
  const std::string host = url.substr(8, url.find('/', 8) - 8);
  const std::string common =
      " /supplier/edi_levering/ HTTP/1.1\r\nHost: " + host +
      "\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
      "Accept-Language: nl,en-us;q=0.7,en;q=0.3\r\nConnection: keep-alive\r\n"
      "User-Agent: Brenvik TallyraPro Agri AutoSync 1.0 (nl-NL) Core\r\n";
  const std::string kXml = "Content-Type: application/xml; charset=UTF-8\r\n";
  const struct {
    std::string bericht, head;
  } cases[] = {
      {"<?xml version=\"1.0\"?><a>Bl\xc3\xa9</a>",  // 31 characters, 32 bytes
       "POST" + common + "Content-Length: 32\r\n" + kXml},
      {std::string(200000, 'x'), "POST" + common + "Content-Length: 200000\r\n" + kXml},
      {"", "GET" + common},
  };
  Reply("<ok/>");
  auto sender = Sender(url);
  int n = 0;
  for (const auto& c : cases) {
    HttpsReply reply = sender->VerstuurViaHTTPS(c.bericht);
    ASSERT_TRUE(reply.sent) << reply.failure;
    EXPECT_EQ(reply.reply, "<ok/>");
    std::string request = Request(++n);
    EXPECT_EQ(request.substr(request.find("\r\n") + 2), c.head + "\r\n" + c.bericht);
  }
  EXPECT_EQ(DataFile("bericht.xml"), "\r\n");
}

// Every reply, whatever its status, comes back as received and is kept in
// response.txt; an unwritable bericht.xml stops nothing.
TEST_F(HttpsDeliveryWindowsTest, RepliesComeBackAsReceivedAndAreKept) {
  fs::create_directory(base_ / "bericht.xml");
  std::string kept;
  for (const char* server : {"TRUSTED", "STATUS500"}) {
    auto sender = Sender(Url(server));
    for (std::string reply : {"<ok/>", "<OK />", "<ok/>\r\n", "Fout: onbekende relatie", ""}) {
      Reply(reply);
      HttpsReply got = sender->VerstuurViaHTTPS("<a/>");
      EXPECT_TRUE(got.sent) << server << got.failure;
      EXPECT_EQ(got.reply, reply) << server;
      kept += reply + "\r\n";
    }
  }
  EXPECT_EQ(DataFile("response.txt"), kept);
  EXPECT_TRUE(Request(5).ends_with("\r\n\r\n<a/>"));
}

// WinHTTP pools connections per process, so (unlike curl) a second sender
// may continue on the first one's connection: only the reuse within one
// sender is asserted.
TEST_F(HttpsDeliveryWindowsTest, OneConnectionServesTheMessagesOfARun) {
  Reply("<ok/>");
  auto reusing = Sender(Url("TRUSTED"));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(reusing->VerstuurViaHTTPS("<a/>").sent);
  std::string connections[3];
  for (int n = 1; n <= 3; ++n) connections[n - 1] = Request(n).substr(0, Request(n).find("\r\n"));
  EXPECT_EQ(connections[0], connections[1]);
  EXPECT_EQ(connections[1], connections[2]);
}

// Certificates: the bundle alone decides when it is given (the servers'
// certificate is in no Windows store), the Windows store when it is not;
// Wine reports an unknown root in the store's check as a failed secure
// channel where Windows names the certificate. A time-out that must fire is
// short against a server that never answers or answers seconds late, and
// one that must not fire is long.
TEST_F(HttpsDeliveryWindowsTest, RequestFailuresAreNotReplies) {
  Reply("");
  const std::string ca = Setting("TYPRO_HTTPS_CA");
  const std::string kNoTime = "De server heeft niet op tijd geantwoord.";
  const std::string kCert = "Het certificaat van de server kon niet worden gecontroleerd.";
  const std::string kStore = "De beveiligde verbinding met de server kon niet worden opgezet.";
  const struct {
    std::string url, ca_bundle;
    long connect_ms, io_ms;
    std::string failure;  // empty: sent
  } cases[] = {
      {Url("REFUSING"), ca, 30000, 30000, "Er kon geen verbinding met de server worden gemaakt."},
      {Url("SILENT"), ca, 30000, 500, kNoTime},
      {Url("STRANGER"), ca, 30000, 30000, kCert},
      {Url("STRANGER"), "", 30000, 30000, kStore},
      {Url("UNUSED"), "", 30000, 30000, kStore},
      {Url("STRANGER"), data_ + "missing.pem", 30000, 30000, kCert},
      {Url("SLOW"), ca, 500, 30000, kNoTime},
      {Url("SLOW"), ca, 30000, 30000, ""},
  };
  for (const auto& c : cases) {
    HttpsReply reply =
        Sender(c.url, true, c.ca_bundle, c.connect_ms, c.io_ms)->VerstuurViaHTTPS("<a/>");
    EXPECT_EQ(reply.sent, c.failure.empty()) << c.url << " " << c.ca_bundle;
    EXPECT_EQ(reply.failure, c.failure) << c.url << " " << c.ca_bundle;
  }
  EXPECT_EQ(DataFile("response.txt"), "\r\n");  // the one empty reply of the slow server
  EXPECT_EQ(DataFile("bericht.xml"), "<a/>\r\n");
  // A server the client does not trust never receives the message itself.
  for (int n = 1; first_ + n <= Recorded("requests"); ++n) {
    EXPECT_TRUE(Request(n).ends_with("\r\n\r\n")) << Request(n);
  }
}

// A reply that keeps trickling in passes every idle time-out; the deadline
// of the whole exchange ends it as a time-out.
TEST_F(HttpsDeliveryWindowsTest, TricklingReplyEndsAtTheDeadline) {
  HttpsOptions settings{Url("TRICKLE"), Setting("TYPRO_HTTPS_CA"), 60000, 800, 800, true};
  settings.exchange_timeout_ms = 1500;
  const auto start = GetTickCount64();
  HttpsReply reply = MakeHttpsSender(data_, settings)->VerstuurViaHTTPS("<a/>");
  EXPECT_FALSE(reply.sent);
  EXPECT_EQ(reply.failure, "De server heeft niet op tijd geantwoord.");
  EXPECT_LT(GetTickCount64() - start, 10000u);
  EXPECT_EQ(DataFile("response.txt"), "");
}

// A stop request lets the message in flight have its reply, but cuts off one
// that would go on for longer than the grace period.
TEST_F(HttpsDeliveryWindowsTest, StopRequestLeavesTheRequestInFlightAGracePeriod) {
  struct Stopped : StopRequest {
    bool StopRequested() const override { return true; }
    std::string Reason() const override { return "gestopt"; }
  } stopped;
  Reply("<ok/>");
  for (const char* server : {"TRUSTED", "TRICKLE", "SILENT"}) {
    HttpsOptions settings{Url(server), Setting("TYPRO_HTTPS_CA"), 60000, 30000, 30000, true};
    settings.stop = &stopped;
    settings.stop_grace_ms = 1000;
    const auto start = GetTickCount64();
    HttpsReply reply = MakeHttpsSender(data_, settings)->VerstuurViaHTTPS("<a/>");
    const bool answering = server == std::string("TRUSTED");
    EXPECT_EQ(reply.sent, answering) << server;
    EXPECT_EQ(reply.reply + reply.failure,
              answering ? "<ok/>" : "De server heeft niet op tijd geantwoord.");
    EXPECT_LT(GetTickCount64() - start, 10000u) << server;
  }
}

// Replies are read up to 1 MiB: a longer one comes back as its first MiB and
// only that part is kept; the next message goes out as usual.
TEST_F(HttpsDeliveryWindowsTest, RepliesOverOneMebibyteAreCutOff) {
  constexpr size_t kCap = size_t{1} << 20;
  auto sender = Sender(Url("TRUSTED"));
  size_t kept = 0;
  for (size_t size : {kCap, kCap + 1, 5 * kCap}) {
    Reply(std::string(size, 'x'));
    HttpsReply got = sender->VerstuurViaHTTPS("<a/>");
    EXPECT_TRUE(got.sent) << size << got.failure;
    EXPECT_EQ(got.reply.size(), std::min(size, kCap)) << size;
    EXPECT_EQ(got.reply.find_first_not_of('x'), std::string::npos) << size;
    kept += std::min(size, kCap) + 2;
  }
  EXPECT_EQ(DataFile("response.txt").size(), kept);
  Reply("<ok/>");
  EXPECT_EQ(sender->VerstuurViaHTTPS("<a/>").reply, "<ok/>");
}

}  // namespace
}  // namespace typrosync

#pragma once
// What both HTTPS senders (libcurl on Linux, WinHTTP on Windows) must do,
// checked against the same local servers: the request bytes the server
// receives, the replies, certificates, time-outs, the deadline, the stop
// grace and the reply cap. Each platform instantiates the suite with its
// Servers type, which has:
//   std::string Url(const std::string& role): TRUSTED (records requests),
//     STATUS500, STRANGER (a certificate the bundle does not trust), SILENT
//     (never answers), SLOW (a 3 s handshake), TRICKLE (an endless reply)
//     and REFUSING (a port that refuses connections);
//   std::string Ca(): the bundle that trusts all of them but STRANGER;
//   void Reply(bytes): the body every server answers;
//   std::string Request(n): the n-th request TRUSTED recorded in this test:
//     "#conn C", request line, headers, empty line, body;
//   std::string Data(): this test's data folder, ending in "/";
//   std::vector<FailureCase> StoreCases(): what its certificate store does.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "transport/https_delivery.h"

namespace typrosync::https_tests {

const std::string kNoTime = "De server heeft niet op tijd geantwoord.";
const std::string kCert = "Het certificaat van de server kon niet worden gecontroleerd.";

struct FailureCase {
  std::string url, ca_bundle;
  long connect_ms, io_ms;
  std::string failure;  // empty: sent
};

template <class Servers>
class HttpsSenderTest : public ::testing::Test {
 protected:
  std::unique_ptr<HttpsSender> Sender(const std::string& url, long connect_ms = 60000,
                                      long io_ms = 30000, const char* ca = nullptr) {
    return MakeHttpsSender(s.Data(),
                           {url, ca ? std::string(ca) : s.Ca(), connect_ms, io_ms, io_ms, true});
  }
  // A reply of a sender with `settings` changed by `adjust`, and whether it
  // came within 10 s, far below every time-out that must not fire.
  template <class Adjust>
  HttpsReply SendBounded(const std::string& url, Adjust adjust) {
    HttpsOptions settings{url, s.Ca(), 60000, 30000, 30000, true};
    adjust(settings);
    const auto start = std::chrono::steady_clock::now();
    HttpsReply reply = MakeHttpsSender(s.Data(), settings)->VerstuurViaHTTPS("<a/>");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << url;
    return reply;
  }
  std::string DataFile(const std::string& name) {
    std::ifstream in(s.Data() + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  Servers s;
};

TYPED_TEST_SUITE_P(HttpsSenderTest);

TYPED_TEST_P(HttpsSenderTest, SendsTheFixedHeadersAndTheBodyBytes) {
  const std::string url = this->s.Url("TRUSTED");
  const std::string common =
      " /supplier/edi_levering/ HTTP/1.1\r\nHost: " + url.substr(8, url.find('/', 8) - 8) +
      "\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
      "Accept-Language: nl,en-us;q=0.7,en;q=0.3\r\nConnection: keep-alive\r\n"
      "User-Agent: Brenvik TallyraPro Agri AutoSync 1.0 (nl-NL) Core\r\n";
  const std::string kXml = "Content-Type: application/xml; charset=UTF-8\r\n";
  const struct {
    std::string bericht, head;
  } cases[] = {
      {"<?xml version=\"1.0\"?><a>Bl\xc3\xa9</a>",  // 31 characters, 32 bytes
       "POST" + common + "Content-Length: 32\r\n" + kXml},
      {std::string(200000, 'x'),
       "POST" + common + "Content-Length: 200000\r\n" + kXml},  // no Expect
      {"", "GET" + common},
  };
  this->s.Reply("<ok/>");
  auto sender = this->Sender(url);
  int n = 0;
  for (const auto& c : cases) {
    HttpsReply reply = sender->VerstuurViaHTTPS(c.bericht);
    ASSERT_TRUE(reply.sent) << reply.failure;
    EXPECT_EQ(reply.reply, "<ok/>");
    std::string request = this->s.Request(++n);
    EXPECT_EQ(request.substr(request.find("\r\n") + 2), c.head + "\r\n" + c.bericht);
  }
  EXPECT_EQ(this->DataFile("bericht.xml"), "\r\n");
}

// The transport judges nothing: every reply, whatever the status, comes back
// as received and is kept in response.txt. An unwritable bericht.xml stops
// nothing.
TYPED_TEST_P(HttpsSenderTest, RepliesComeBackAsReceivedAndAreKept) {
  std::filesystem::create_directory(this->s.Data() + "bericht.xml");
  const char* replies[] = {"<ok/>",
                           "<OK />",
                           "<ok>",
                           "<ok/>\r\n",
                           "<?xml version=\"1.0\"?><ok/>",
                           "Fout: onbekende relatie",
                           ""};
  std::string kept;
  for (const char* server : {"TRUSTED", "STATUS500"}) {
    auto sender = this->Sender(this->s.Url(server));
    for (const std::string reply : replies) {
      this->s.Reply(reply);
      HttpsReply got = sender->VerstuurViaHTTPS("<a/>");
      EXPECT_TRUE(got.sent) << server << got.failure;
      EXPECT_EQ(got.reply, reply) << server;
      kept += reply + "\r\n";
    }
  }
  EXPECT_EQ(this->DataFile("response.txt"), kept);
  EXPECT_TRUE(this->s.Request(static_cast<int>(std::size(replies))).ends_with("\r\n\r\n<a/>"));
}

// A sender keeps one connection for the messages of a run.
TYPED_TEST_P(HttpsSenderTest, OneConnectionServesTheMessagesOfARun) {
  this->s.Reply("<ok/>");
  auto sender = this->Sender(this->s.Url("TRUSTED"));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(sender->VerstuurViaHTTPS("<a/>").sent);
  const auto connection = [&](int n) { return this->s.Request(n).substr(0, 9); };  // "#conn C\r\n"
  EXPECT_EQ(connection(1) + connection(2) + connection(3),
            connection(1) + connection(1) + connection(1));
}

// Sending and receiving time only once the connection is up. Every time-out
// that must fire is short against a server that never answers or answers
// seconds late, and every one that must not fire is long, so a busy machine
// cannot change the outcome.
TYPED_TEST_P(HttpsSenderTest, RequestFailuresAreNotReplies) {
  this->s.Reply("");
  const std::string ca = this->s.Ca();
  std::vector<FailureCase> cases = {
      {this->s.Url("REFUSING"), ca, 30000, 30000,
       "Er kon geen verbinding met de server worden gemaakt."},
      {this->s.Url("SILENT"), ca, 30000, 500, kNoTime},
      {this->s.Url("STRANGER"), ca, 30000, 30000, kCert},
      {this->s.Url("SLOW"), ca, 500, 30000, kNoTime},
      {this->s.Url("SLOW"), ca, 30000, 30000, ""},
  };
  for (const FailureCase& c : this->s.StoreCases()) cases.insert(cases.end() - 2, c);
  for (const auto& c : cases) {
    HttpsReply reply =
        this->Sender(c.url, c.connect_ms, c.io_ms, c.ca_bundle.c_str())->VerstuurViaHTTPS("<a/>");
    EXPECT_EQ(reply.sent, c.failure.empty()) << c.url << " " << c.ca_bundle;
    EXPECT_EQ(reply.failure, c.failure) << c.url << " " << c.ca_bundle;
  }
  EXPECT_EQ(this->DataFile("response.txt"), "\r\n");  // the one empty reply of the slow server
  EXPECT_EQ(this->DataFile("bericht.xml"), "<a/>\r\n");
}

// A reply that keeps trickling in passes every idle time-out; the deadline
// of the whole exchange ends it as a time-out.
TYPED_TEST_P(HttpsSenderTest, TricklingReplyEndsAtTheDeadline) {
  HttpsReply reply = this->SendBounded(this->s.Url("TRICKLE"), [](HttpsOptions& settings) {
    settings.send_timeout_ms = settings.receive_timeout_ms = 800;
    settings.exchange_timeout_ms = 1500;
  });
  EXPECT_FALSE(reply.sent);
  EXPECT_EQ(reply.failure, kNoTime);
  EXPECT_EQ(this->DataFile("response.txt"), "");
}

// A stop request lets the message in flight have its reply, but cuts off one
// that would go on for longer than the grace period.
TYPED_TEST_P(HttpsSenderTest, StopRequestLeavesTheRequestInFlightAGracePeriod) {
  struct Stopped : StopRequest {
    bool StopRequested() const override { return true; }
    std::string Reason() const override { return "gestopt"; }
  } stopped;
  this->s.Reply("<ok/>");
  for (const std::string server : {"TRUSTED", "TRICKLE", "SILENT"}) {
    HttpsReply reply = this->SendBounded(this->s.Url(server), [&](HttpsOptions& settings) {
      settings.stop = &stopped;
      settings.stop_grace_ms = 1000;
    });
    EXPECT_EQ(reply.sent, server == "TRUSTED") << server;
    EXPECT_EQ(reply.reply + reply.failure, reply.sent ? "<ok/>" : kNoTime) << server;
  }
}

// Replies are read up to 1 MiB: a longer one comes back as its first MiB,
// which is no acknowledgement, and only that part is kept. The connection
// is not reused after a cut; the next message goes out as usual.
TYPED_TEST_P(HttpsSenderTest, RepliesOverOneMebibyteAreCutOff) {
  constexpr size_t kCap = size_t{1} << 20;
  auto sender = this->Sender(this->s.Url("TRUSTED"));
  size_t kept = 0;
  for (size_t size : {kCap, kCap + 1, 5 * kCap}) {
    this->s.Reply(std::string(size, 'x'));
    HttpsReply got = sender->VerstuurViaHTTPS("<a/>");
    EXPECT_TRUE(got.sent) << size << got.failure;
    EXPECT_EQ(got.reply, std::string(std::min(size, kCap), 'x')) << size;
    kept += std::min(size, kCap) + 2;
  }
  EXPECT_EQ(this->DataFile("response.txt").size(), kept);
  this->s.Reply("<ok/>");
  EXPECT_EQ(sender->VerstuurViaHTTPS("<a/>").reply, "<ok/>");
}

REGISTER_TYPED_TEST_SUITE_P(HttpsSenderTest, SendsTheFixedHeadersAndTheBodyBytes,
                            RepliesComeBackAsReceivedAndAreKept,
                            OneConnectionServesTheMessagesOfARun, RequestFailuresAreNotReplies,
                            TricklingReplyEndsAtTheDeadline,
                            StopRequestLeavesTheRequestInFlightAGracePeriod,
                            RepliesOverOneMebibyteAreCutOff);

}  // namespace typrosync::https_tests

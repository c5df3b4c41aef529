// The libcurl sender against local HTTPS servers started per test.
#include "transport/https_delivery.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "support/test_server.h"
#include "transport/https_sender_tests.h"

namespace typrosync {
namespace {

using test_support::HttpsServerOptions;
using test_support::HttpsTestServer;
using test_support::TempDir;

// The servers by role, each started when first asked for; the certificates
// are made once for all tests.
class CurlServers {
 public:
  std::string Url(const std::string& role) {
    if (role == "REFUSING") return "https://127.0.0.1:" + std::to_string(refusing_.port()) + "/";
    auto& server = servers_[role];
    if (!server) {
      const std::string record = role == "TRUSTED" ? "requests" : "requests-500";
      std::filesystem::create_directory(dir_.path() + record);
      server = std::make_unique<HttpsTestServer>(HttpsServerOptions{
          role == "STRANGER" ? Certificates().second : Certificates().first, dir_.path() + "reply",
          dir_.path() + record, role == "STATUS500" ? 500 : 200, role == "SILENT",
          role == "SLOW" ? 3.0 : 0.0, "", role == "TRICKLE"});
    }
    return server->url();
  }
  std::string Ca() const { return Certificates().first.cert; }
  void Reply(const std::string& bytes) const {
    test_support::WriteFileBytes(dir_.path() + "reply", bytes);
  }
  std::string Request(int n) const {
    return test_support::ReadFileBytes(dir_.path() + "requests/request-" + std::to_string(n) +
                                       ".txt");
  }
  const std::string& Data() const { return data_.path(); }
  // Without a bundle the system's store decides, and it does not know the
  // test certificates.
  std::vector<https_tests::FailureCase> StoreCases() {
    return {{Url("STRANGER"), "", 30000, 30000, https_tests::kCert}};
  }

 private:
  using Pair = std::pair<test_support::TestCertificate, test_support::TestCertificate>;
  static const Pair& Certificates() {
    static TempDir folder;
    static const Pair made{test_support::MakeTestCertificate(folder.path(), "trusted"),
                           test_support::MakeTestCertificate(folder.path(), "stranger")};
    return made;
  }

  TempDir data_, dir_;
  test_support::RefusingPort refusing_;
  std::map<std::string, std::unique_ptr<HttpsTestServer>> servers_;
};

// Without reuse every message has a connection of its own (WinHTTP pools
// connections per process, so this holds for curl only).
TEST(CurlHttpsSenderTest, WithoutReuseEveryMessageHasItsOwnConnection) {
  CurlServers servers;
  auto sender = MakeHttpsSender(servers.Data(),
                                {servers.Url("TRUSTED"), servers.Ca(), 60000, 30000, 30000, false});
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(sender->VerstuurViaHTTPS("<a/>").sent);
  EXPECT_EQ(servers.Request(1).substr(0, 9) + servers.Request(2).substr(0, 9),
            "#conn 1\r\n#conn 2\r\n");
}

TEST(CropREndpointTest, FixedUrlWithoutTheTestVariable) {
  unsetenv("TYPROSYNC_CROPR_URL");
  EXPECT_EQ(CropREndpoint(), "https://edi.crop-r.com/supplier/edi_levering/");
}

}  // namespace

namespace https_tests {
INSTANTIATE_TYPED_TEST_SUITE_P(Curl, HttpsSenderTest, CurlServers);
}  // namespace https_tests
}  // namespace typrosync

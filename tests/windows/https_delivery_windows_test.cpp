// The WinHTTP sender against real local HTTPS servers (under Wine here),
// started beside this program by with_servers.py, in the same tests
// as the Linux sender.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "transport/https_delivery.h"
#include "transport/https_sender_tests.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;

// A value the wrapper script sets; the test fails without it rather than
// passing with nothing tested.
std::string Setting(const std::string& name) {
  const char* value = std::getenv(("TYPRO_HTTPS_" + name).c_str());
  if (value == nullptr) ADD_FAILURE() << name << " is not set: run under with_servers.py";
  return value == nullptr ? std::string() : value;
}

int Recorded() {
  const fs::path dir = Setting("DIR") + "requests";
  return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

// The servers run for the whole program, so requests are counted from the
// start of each test, and each test gets a data folder of its own.
class WinHttpServers {
 public:
  WinHttpServers()
      : base_(fs::temp_directory_path() /
              ("typro-https-" + std::to_string(GetCurrentProcessId()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name())),
        first_(Recorded()) {
    fs::create_directories(base_);
  }
  ~WinHttpServers() {
    std::error_code ignored;
    fs::remove_all(base_, ignored);
  }
  std::string Url(const std::string& role) const { return Setting(role + "_URL"); }
  std::string Ca() const { return Setting("CA"); }
  void Reply(const std::string& bytes) const {
    std::ofstream(Setting("DIR") + "reply", std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string Request(int n) const {
    std::ifstream in(Setting("DIR") + "requests/request-" + std::to_string(first_ + n) + ".txt",
                     std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::string Data() const { return base_.generic_string() + "/"; }
  // Without a bundle the Windows store decides; the servers' certificate is
  // in none, and Wine reports an unknown root there as a failed secure
  // channel where Windows names the certificate. A bundle that cannot be
  // read trusts nothing. UNUSED has a connection of its own: WinHTTP pools
  // connections per process and does not check a pooled one again.
  std::vector<https_tests::FailureCase> StoreCases() const {
    const std::string kStore = "De beveiligde verbinding met de server kon niet worden opgezet.";
    return {{Url("STRANGER"), "", 30000, 30000, kStore},
            {Url("UNUSED"), "", 30000, 30000, kStore},
            {Url("STRANGER"), Data() + "missing.pem", 30000, 30000, https_tests::kCert}};
  }

 private:
  fs::path base_;
  int first_;
};

}  // namespace

namespace https_tests {
INSTANTIATE_TYPED_TEST_SUITE_P(WinHttp, HttpsSenderTest, WinHttpServers);
}  // namespace https_tests
}  // namespace typrosync

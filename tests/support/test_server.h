#pragma once
// Real local servers for the tests: small Python scripts (run with
// /usr/bin/python3) on a free port of 127.0.0.1, started on construction,
// waited for until they listen, and stopped when released.

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

namespace typrosync::test_support {

// A temporary folder removed with everything in it when released.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // The folder, with a final "/".
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// One running script. Start throws std::runtime_error when it does not come up.
class TestServer {
 public:
  static std::unique_ptr<TestServer> Start(const std::string& script,
                                           const std::vector<std::string>& args);
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;
  int port() const { return port_; }

 private:
  TestServer(pid_t pid, int port) : pid_(pid), port_(port) {}
  pid_t pid_;
  int port_;
};

// A self-signed certificate for 127.0.0.1 and localhost, made with the
// openssl command line. `cert` also serves as the CA bundle that trusts it.
struct TestCertificate {
  std::string cert;
  std::string key;
};
TestCertificate MakeTestCertificate(const std::string& folder, const std::string& name);

struct HttpsServerOptions {
  TestCertificate certificate;
  std::string reply_file;  // bytes of every reply body, read per request
  std::string record_dir;  // requests recorded as request-N.txt
  int status = 200;
  bool silent = false;           // accepts, never answers
  double handshake_delay_s = 0;  // a slow TLS handshake
};

// The HTTPS test server. url() is its Crop-R endpoint path.
class HttpsTestServer {
 public:
  explicit HttpsTestServer(const HttpsServerOptions& options);
  int port() const { return server_->port(); }
  std::string url() const;

 private:
  std::unique_ptr<TestServer> server_;
};

struct FtpServerOptions {
  std::string root;  // folder served as "/"
  std::string user = "agro";
  std::string password = "geheim";
  std::string perm = "elradfmwMT";  // "elr": uploads and deletions refused
  std::string log;                  // file of "CONNECT" and "CMD arg -> code" lines
};

class FtpTestServer {
 public:
  explicit FtpTestServer(const FtpServerOptions& options);
  int port() const { return server_->port(); }

 private:
  std::unique_ptr<TestServer> server_;
};

// Reads a whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Writes bytes to a file, replacing it.
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace typrosync::test_support

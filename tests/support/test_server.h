#pragma once
// Real local servers for the tests: small Python scripts (run with
// /usr/bin/python3) on a free port of 127.0.0.1, started on construction,
// waited for until they listen, and stopped when released or when the test
// process ends. Construction throws std::runtime_error when one does not start.

#include <sys/types.h>

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
  const std::string& path() const { return path_; }  // with a final "/"

 private:
  std::string path_;
};

// A port of 127.0.0.1 that refuses every connection: bound while this lives
// but never listening, so no other test can take it in the meantime.
class RefusingPort {
 public:
  RefusingPort();
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  int port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = -1;
};

// One running server script.
class TestServer {
 public:
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;
  int port() const { return port_; }

 protected:
  TestServer(const std::string& script, std::vector<std::string> args);

 private:
  pid_t pid_ = -1;
  int port_ = -1;
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
  std::string hold_file = {};    // replies wait, after recording, until it exists
  bool trickle = false;          // an endless reply, one byte at a time
};

// The HTTPS test server. url() is its Crop-R endpoint path.
class HttpsTestServer : public TestServer {
 public:
  explicit HttpsTestServer(const HttpsServerOptions& options);
  std::string url() const;
};

struct FtpServerOptions {
  std::string root;  // folder served as "/"
  std::string user = "agro";
  std::string password = "geheim";
  std::string perm = "elradfmwMT";  // "elr": uploads and deletions refused
  std::string log;                  // file of "CONNECT" and "CMD arg -> code" lines
  long write_limit = 0;             // file data sent at most this many bytes a second
};

class FtpTestServer : public TestServer {
 public:
  explicit FtpTestServer(const FtpServerOptions& options);
};

// Reads a whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Writes bytes to a file, replacing it.
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace typrosync::test_support

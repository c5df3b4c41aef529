#include "support/test_server.h"

#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace typrosync::test_support {
namespace {

constexpr char kPython[] = "/usr/bin/python3";

// Reads the first line the child prints, its port; -1 after 20 s of silence.
int ReadPortLine(int fd) {
  std::string line;
  char ch = 0;
  pollfd wait{fd, POLLIN, 0};
  while (poll(&wait, 1, 20000) > 0 && read(fd, &ch, 1) == 1 && ch != '\n') line += ch;
  return ch == '\n' ? std::atoi(line.c_str()) : -1;
}

void StopChild(pid_t pid) {
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

}  // namespace

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "typro-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

RefusingPort::RefusingPort() : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  auto* generic = reinterpret_cast<sockaddr*>(&address);
  if (fd_ < 0 || bind(fd_, generic, length) != 0 || getsockname(fd_, generic, &length) != 0)
    throw std::runtime_error("no refusing port");
  port_ = ntohs(address.sin_port);
}

RefusingPort::~RefusingPort() { close(fd_); }

TestServer::TestServer(const std::string& script, std::vector<std::string> args) {
  args.insert(args.begin(), {kPython, std::string(TYPRO_TEST_SUPPORT_DIR) + "/" + script});
  std::vector<char*> argv;
  for (auto& word : args) argv.push_back(word.data());
  argv.push_back(nullptr);
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
  pid_t parent = getpid();
  pid_ = fork();
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // no server outlives the test that started it
    if (getppid() != parent) _exit(0);
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    execv(kPython, argv.data());
    _exit(127);
  }
  close(fds[1]);
  if (pid_ > 0) port_ = ReadPortLine(fds[0]);
  close(fds[0]);
  if (port_ > 0) return;
  if (pid_ > 0) StopChild(pid_);
  throw std::runtime_error("test server did not start: " + script);
}

TestServer::~TestServer() { StopChild(pid_); }

TestCertificate MakeTestCertificate(const std::string& folder, const std::string& name) {
  TestCertificate made{folder + name + "-cert.pem", folder + name + "-key.pem"};
  std::string command =
      "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost"
      " -addext subjectAltName=IP:127.0.0.1,DNS:localhost -keyout '" +
      made.key + "' -out '" + made.cert + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("openssl failed");
  return made;
}

HttpsTestServer::HttpsTestServer(const HttpsServerOptions& o)
    : TestServer(
          "https_server.py",
          {"--cert", o.certificate.cert, "--key", o.certificate.key, "--reply-file", o.reply_file,
           "--record-dir", o.record_dir, "--status", std::to_string(o.status), "--handshake-delay",
           std::to_string(o.handshake_delay_s), "--silent", o.silent ? "1" : "0", "--hold-file",
           o.hold_file, "--trickle", o.trickle ? "1" : "0"}) {}

std::string HttpsTestServer::url() const {
  return "https://127.0.0.1:" + std::to_string(port()) + "/supplier/edi_levering/";
}

FtpTestServer::FtpTestServer(const FtpServerOptions& o)
    : TestServer("ftp_server.py", {"--root", o.root, "--user", o.user, "--password", o.password,
                                   "--perm", o.perm, "--log", o.log, "--write-limit",
                                   std::to_string(o.write_limit)}) {}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace typrosync::test_support

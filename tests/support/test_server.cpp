#include "support/test_server.h"

#include <poll.h>
#include <signal.h>
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
constexpr int kStartTimeoutMs = 20000;

std::string ScriptPath(const std::string& script) {
  return std::string(TYPRO_TEST_SUPPORT_DIR) + "/" + script;
}

// Reads the first line the child prints: the port it listens on.
int ReadPortLine(int fd) {
  std::string line;
  char ch = 0;
  while (true) {
    pollfd wait{fd, POLLIN, 0};
    if (poll(&wait, 1, kStartTimeoutMs) <= 0) return -1;
    if (read(fd, &ch, 1) != 1) return -1;
    if (ch == '\n') break;
    line += ch;
  }
  return std::atoi(line.c_str());
}

void StopChild(pid_t pid) {
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
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

std::unique_ptr<TestServer> TestServer::Start(const std::string& script,
                                              const std::vector<std::string>& args) {
  std::vector<std::string> words{kPython, ScriptPath(script)};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    execv(kPython, argv.data());
    _exit(127);
  }
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    throw std::runtime_error("fork failed");
  }
  int port = ReadPortLine(fds[0]);
  close(fds[0]);
  if (port <= 0) {
    StopChild(pid);
    throw std::runtime_error("test server did not start: " + script);
  }
  return std::unique_ptr<TestServer>(new TestServer(pid, port));
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

HttpsTestServer::HttpsTestServer(const HttpsServerOptions& options) {
  std::vector<std::string> args{"--cert",   options.certificate.cert,
                                "--key",    options.certificate.key,
                                "--status", std::to_string(options.status)};
  if (!options.reply_file.empty()) args.insert(args.end(), {"--reply-file", options.reply_file});
  if (!options.record_dir.empty()) args.insert(args.end(), {"--record-dir", options.record_dir});
  if (options.silent) args.push_back("--silent");
  if (options.handshake_delay_s > 0) {
    args.insert(args.end(), {"--handshake-delay", std::to_string(options.handshake_delay_s)});
  }
  server_ = TestServer::Start("https_server.py", args);
}

std::string HttpsTestServer::url() const {
  return "https://127.0.0.1:" + std::to_string(port()) + "/supplier/edi_levering/";
}

FtpTestServer::FtpTestServer(const FtpServerOptions& options) {
  std::vector<std::string> args{"--root",     options.root,     "--user", options.user,
                                "--password", options.password, "--perm", options.perm};
  if (!options.log.empty()) args.insert(args.end(), {"--log", options.log});
  server_ = TestServer::Start("ftp_server.py", args);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace typrosync::test_support

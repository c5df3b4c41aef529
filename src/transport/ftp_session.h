#pragma once
// One FTP control connection, logged in, on which single commands, uploads,
// downloads and listings are done. The adapter over libcurl; failures come
// back as the client's error numbers plus the server's reply lines.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace typrosync {

// A transfer slower than this on average over the window fails as a
// time-out, so a trickling server cannot hold a run; a large file on a slow
// but moving line still passes.
inline constexpr long kFtpMinRateBytesPerSecond = 1024;
inline constexpr long kFtpMinRateWindowMs = 60000;

struct FtpSessionSettings {
  std::string server;
  int port = 21;
  std::string user;
  std::string password;
  bool passive = false;
  long connect_timeout_ms = 60000;
  long response_timeout_ms = 30000;
  long min_rate_bytes_per_s = kFtpMinRateBytesPerSecond;
  long min_rate_window_ms = kFtpMinRateWindowMs;
};

// Outcome of one session call: error 0 on success, else an error number of
// transport/ftp_errors.h; `response` holds the reply lines (CR LF ended) of
// the command that failed, or of the last command.
struct FtpStatus {
  int32_t error = 0;
  std::string response;
  bool ok() const { return error == 0; }
};

class FtpSession {
 public:
  // Gives up to `size` bytes of the file to send: 0 at its end, -1 to abort.
  using ReadBlock = std::function<long(char* buffer, size_t size)>;
  // Takes received bytes; false aborts the transfer.
  using WriteBlock = std::function<bool(const char* data, size_t size)>;

  // Connects and logs in; null with `status` set when that fails.
  static std::unique_ptr<FtpSession> Open(const FtpSessionSettings& settings, FtpStatus& status);
  ~FtpSession();  // logs out and closes the connection
  FtpSession(const FtpSession&) = delete;
  FtpSession& operator=(const FtpSession&) = delete;

  // Sends the commands in order; fails (12003) on the first negative reply.
  // `reply` receives the reply lines of the last command.
  FtpStatus Command(const std::vector<std::string>& commands, std::string* reply = nullptr);
  // Stores `remote` (relative to the current folder, or absolute).
  FtpStatus Upload(const std::string& remote, bool ascii, const ReadBlock& read);
  FtpStatus Download(const std::string& remote, bool ascii, const WriteBlock& write);
  // The listing of `folder` ("" = current) with `command` ("MLSD" or "LIST").
  FtpStatus List(const std::string& folder, const std::string& command, std::string& listing);

 private:
  struct Impl;
  explicit FtpSession(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace typrosync

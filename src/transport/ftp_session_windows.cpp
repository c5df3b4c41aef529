#include "transport/ftp_session.h"

// Windows: the session over WinINet. Its error numbers are WinINet's own
// (GetLastError), the server's words come from InternetGetLastResponseInfo.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <memory>
#include <utility>

#include "common/windows_text.h"
#include "transport/ftp_errors.h"

namespace typrosync {
namespace {

struct InternetCloser {
  void operator()(void* handle) const { InternetCloseHandle(handle); }
};
using Handle = std::unique_ptr<void, InternetCloser>;

// Small reads keep the minimum-rate check close to the data as it comes.
constexpr DWORD kChunkSize = 4096;

// The server's last reply as WinINet kept it, each line ending in CR LF as
// the client expects of reply lines. Must run before any other WinINet call.
std::string LastResponse() {
  DWORD error = 0;
  std::wstring buffer(4096, L'\0');
  DWORD length = static_cast<DWORD>(buffer.size());
  if (!InternetGetLastResponseInfoW(&error, buffer.data(), &length)) return "";
  // Some versions count the final NUL, some do not: the text ends at it.
  buffer.resize(std::min<size_t>(length, buffer.size()));
  buffer.resize(std::wcslen(buffer.c_str()));
  std::string text = Utf8FromWide(buffer);
  std::string lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? end : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines += line + "\r\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

// The failure of the WinINet call just made.
FtpStatus LastFailure() {
  const DWORD error = GetLastError();
  std::string response = LastResponse();
  return {error == 0 ? kErrorInternetInternalError : static_cast<int32_t>(error),
          std::move(response)};
}

void SetTimeout(HINTERNET handle, DWORD option, long ms) {
  DWORD value = ms <= 0 ? 0xFFFFFFFF : static_cast<DWORD>(ms);
  InternetSetOptionW(handle, option, &value, sizeof value);
}

// Fails a transfer whose average over a whole window stays below the
// minimum rate; a transfer that stalls completely ends at the receive or
// send time-out instead.
class RateWatch {
 public:
  explicit RateWatch(const FtpSessionSettings& settings)
      : min_rate_(settings.min_rate_bytes_per_s), window_ms_(settings.min_rate_window_ms) {}

  bool TooSlow(size_t moved) {
    bytes_ += moved;
    if (min_rate_ <= 0 || window_ms_ <= 0) return false;
    const auto now = std::chrono::steady_clock::now();
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(now - window_start_).count();
    if (elapsed < window_ms_) return false;
    const bool slow = static_cast<long long>(bytes_) * 1000 < min_rate_ * elapsed;
    window_start_ = now;
    bytes_ = 0;
    return slow;
  }

 private:
  long min_rate_;
  long window_ms_;
  std::chrono::steady_clock::time_point window_start_ = std::chrono::steady_clock::now();
  size_t bytes_ = 0;
};

DWORD TransferType(bool ascii) {
  return (ascii ? FTP_TRANSFER_TYPE_ASCII : FTP_TRANSFER_TYPE_BINARY) | INTERNET_FLAG_RELOAD;
}

// "257" reply of PWD as the server would give it: quotes inside doubled.
std::string CurrentFolderReply(const std::string& folder) {
  std::string reply = "257 \"";
  for (char ch : folder) reply += ch == '"' ? std::string("\"\"") : std::string(1, ch);
  return reply + "\"\r\n";
}

}  // namespace

struct FtpSession::Impl {
  FtpSessionSettings settings;
  Handle internet;
  Handle connection;

  FtpStatus CurrentFolder(std::string& reply) {
    std::wstring folder(MAX_PATH + 1, L'\0');
    DWORD length = static_cast<DWORD>(folder.size());
    if (!FtpGetCurrentDirectoryW(connection.get(), folder.data(), &length)) return LastFailure();
    // Some versions count the final NUL, some do not: the text ends at it.
    folder.resize(std::wcslen(folder.c_str()));
    reply = CurrentFolderReply(Utf8FromWide(folder));
    return {};
  }

  FtpStatus Send(const std::string& command, std::string& reply) {
    // WinINet keeps the current folder itself; asking the server directly
    // would not show its reply.
    if (command == "PWD") return CurrentFolder(reply);
    if (!FtpCommandW(connection.get(), FALSE, FTP_TRANSFER_TYPE_ASCII,
                     WideFromUtf8(command).c_str(), 0, nullptr)) {
      return LastFailure();
    }
    reply = LastResponse();
    return {};
  }

  // The remote file opened for one transfer in `access` (read or write).
  Handle OpenRemote(const std::string& remote, DWORD access, bool ascii) {
    return Handle(FtpOpenFileW(connection.get(), WideFromUtf8(remote).c_str(), access,
                               TransferType(ascii), 0));
  }
};

FtpSession::FtpSession(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FtpSession::~FtpSession() = default;

std::unique_ptr<FtpSession> FtpSession::Open(const FtpSessionSettings& settings,
                                             FtpStatus& status) {
  auto impl = std::make_unique<Impl>();
  impl->settings = settings;
  // Direct: a proxy configured for browsing must not carry the FTP session.
  impl->internet.reset(InternetOpenW(L"typrosync", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!impl->internet) {
    status = LastFailure();
    return nullptr;
  }
  HINTERNET internet = impl->internet.get();
  SetTimeout(internet, INTERNET_OPTION_CONNECT_TIMEOUT, settings.connect_timeout_ms);
  SetTimeout(internet, INTERNET_OPTION_RECEIVE_TIMEOUT, settings.response_timeout_ms);
  SetTimeout(internet, INTERNET_OPTION_SEND_TIMEOUT, settings.response_timeout_ms);
  SetTimeout(internet, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, settings.response_timeout_ms);
  SetTimeout(internet, INTERNET_OPTION_DATA_SEND_TIMEOUT, settings.response_timeout_ms);
  // WinINet connects and logs in here, so a wrong password shows at once.
  impl->connection.reset(InternetConnectW(
      internet, WideFromUtf8(settings.server).c_str(), static_cast<INTERNET_PORT>(settings.port),
      WideFromUtf8(settings.user).c_str(), WideFromUtf8(settings.password).c_str(),
      INTERNET_SERVICE_FTP, settings.passive ? INTERNET_FLAG_PASSIVE : 0, 0));
  if (!impl->connection) {
    status = LastFailure();
    return nullptr;
  }
  status = {};
  return std::unique_ptr<FtpSession>(new FtpSession(std::move(impl)));
}

FtpStatus FtpSession::Command(const std::vector<std::string>& commands, std::string* reply) {
  std::string last;
  for (const std::string& command : commands) {
    FtpStatus status = impl_->Send(command, last);
    if (!status.ok()) return status;
  }
  if (reply != nullptr) *reply = last;
  return {0, last};
}

FtpStatus FtpSession::Upload(const std::string& remote, bool ascii, const ReadBlock& read) {
  Handle file = impl_->OpenRemote(remote, GENERIC_WRITE, ascii);
  if (!file) return LastFailure();
  RateWatch watch(impl_->settings);
  char buffer[kChunkSize];
  for (;;) {
    const long given = read(buffer, sizeof buffer);
    if (given < 0) return {kErrorInternetOperationCancelled, ""};
    if (given == 0) break;
    DWORD written = 0;
    for (long done = 0; done < given; done += static_cast<long>(written)) {
      if (!InternetWriteFile(file.get(), buffer + done, static_cast<DWORD>(given - done),
                             &written)) {
        return LastFailure();
      }
    }
    if (watch.TooSlow(static_cast<size_t>(given))) return {kErrorInternetTimeout, ""};
  }
  // Closing ends the data connection and reads the server's verdict.
  if (!InternetCloseHandle(file.release())) return LastFailure();
  return {};
}

FtpStatus FtpSession::Download(const std::string& remote, bool ascii, const WriteBlock& write) {
  Handle file = impl_->OpenRemote(remote, GENERIC_READ, ascii);
  if (!file) return LastFailure();
  RateWatch watch(impl_->settings);
  char buffer[kChunkSize];
  for (;;) {
    DWORD got = 0;
    if (!InternetReadFile(file.get(), buffer, sizeof buffer, &got)) return LastFailure();
    if (got == 0) break;
    if (!write(buffer, got)) return {kErrorInternetOperationCancelled, ""};
    if (watch.TooSlow(got)) return {kErrorInternetTimeout, ""};
  }
  if (!InternetCloseHandle(file.release())) return LastFailure();
  return {};
}

// WinINet reads the server's listing itself; its entries are handed on in
// machine-listing form, so the client reads them as from any server.
FtpStatus FtpSession::List(const std::string& folder, const std::string&, std::string& listing) {
  WIN32_FIND_DATAW entry{};
  std::wstring search = WideFromUtf8(folder);
  Handle find(FtpFindFirstFileW(impl_->connection.get(), search.empty() ? nullptr : search.c_str(),
                                &entry, INTERNET_FLAG_RELOAD, 0));
  if (!find) {
    if (GetLastError() == ERROR_NO_MORE_FILES) return {};
    return LastFailure();
  }
  do {
    const bool folder_entry = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const uint64_t size = (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    listing += folder_entry ? std::string("type=dir;")
                            : "type=file;size=" + std::to_string(size) + ";";
    listing += " " + Utf8FromWide(entry.cFileName) + "\r\n";
  } while (InternetFindNextFileW(find.get(), &entry));
  if (GetLastError() != ERROR_NO_MORE_FILES) return LastFailure();
  return {};
}

}  // namespace typrosync

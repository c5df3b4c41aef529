#include "transport/ftp_session.h"

#include <curl/curl.h>

#include <cctype>
#include <utility>

#include "common/hex_digits.h"
#include "transport/ftp_errors.h"

namespace typrosync {
namespace {

// One command sent on the control connection and the reply lines it got.
struct Exchange {
  std::string command;  // "" for the greeting
  std::string reply;    // the lines, each ending in CR LF
  int code = 0;         // code of the final reply line
};

// Multi-line replies continue with "ddd-"; the line with "ddd " (or just the
// code) ends the reply and carries the code that counts.
bool IsFinalReplyLine(const std::string& line) {
  return line.size() >= 3 && std::isdigit(static_cast<unsigned char>(line[0])) &&
         std::isdigit(static_cast<unsigned char>(line[1])) &&
         std::isdigit(static_cast<unsigned char>(line[2])) && (line.size() == 3 || line[3] != '-');
}

std::string StripLineEnd(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// Percent-encodes a remote path for the URL; "/" stays a separator.
std::string EncodePath(const std::string& path) {
  std::string out;
  for (unsigned char ch : path) {
    if (std::isalnum(ch) || ch == '-' || ch == '.' || ch == '_' || ch == '~' || ch == '/') {
      out += static_cast<char>(ch);
    } else {
      out += '%';
      out += HexDigit(ch >> 4, true);
      out += HexDigit(ch, true);
    }
  }
  return out;
}

// Some curl time-outs take whole seconds; rounding up never makes a time-out
// shorter than asked, and 0 keeps curl's "no limit".
long Seconds(long ms) { return ms <= 0 ? 0 : (ms + 999) / 1000; }

struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

}  // namespace

struct FtpSession::Impl {
  FtpSessionSettings settings;
  CURL* curl = nullptr;
  std::vector<Exchange> exchanges;  // of the running call
  const ReadBlock* read = nullptr;
  const WriteBlock* write = nullptr;

  ~Impl() {
    if (curl != nullptr) curl_easy_cleanup(curl);
  }

  std::string BaseUrl() const {
    return "ftp://" + settings.server + ":" + std::to_string(settings.port) + "/";
  }

  // The control connection's dialogue is read from curl's debug stream, the
  // only place curl shows the server's own reply texts.
  void Record(curl_infotype type, const char* data, size_t size) {
    if (type == CURLINFO_HEADER_OUT) {
      exchanges.push_back({StripLineEnd(std::string(data, size)), "", 0});
    } else if (type == CURLINFO_HEADER_IN) {
      if (exchanges.empty()) exchanges.push_back({});
      std::string line = StripLineEnd(std::string(data, size));
      exchanges.back().reply += line + "\r\n";
      if (IsFinalReplyLine(line)) exchanges.back().code = std::stoi(line.substr(0, 3));
    }
  }

  static int Debug(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    static_cast<Impl*>(user)->Record(type, data, size);
    return 0;
  }
  static size_t Read(char* buffer, size_t size, size_t count, void* user) {
    long given = (*static_cast<Impl*>(user)->read)(buffer, size * count);
    return given < 0 ? CURL_READFUNC_ABORT : static_cast<size_t>(given);
  }
  static size_t Write(char* data, size_t size, size_t count, void* user) {
    return (*static_cast<Impl*>(user)->write)(data, size * count) ? size * count : 0;
  }
  static size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }

  void Configure() {
    curl_easy_setopt(curl, CURLOPT_USERNAME, settings.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, settings.password.c_str());
    // Commands name files relative to the server's current folder, which the
    // client changes itself; curl must not move it.
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    // "-" is active mode on the control connection's own address.
    curl_easy_setopt(curl, CURLOPT_FTPPORT, settings.passive ? nullptr : "-");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, settings.connect_timeout_ms);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, Seconds(settings.response_timeout_ms));
    curl_easy_setopt(curl, CURLOPT_ACCEPTTIMEOUT_MS, settings.response_timeout_ms);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, settings.min_rate_bytes_per_s);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, Seconds(settings.min_rate_window_ms));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // Verbose only feeds the debug callback below; nothing is printed.
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, Debug);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, this);
  }

  // Puts the handle back to a plain no-transfer request on the root URL.
  void ResetRequest(const std::string& path) {
    exchanges.clear();
    std::string url = BaseUrl() + EncodePath(path);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, nullptr);
    curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Discard);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, nullptr);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(-1));
  }

  const Exchange* LastExchange() const { return exchanges.empty() ? nullptr : &exchanges.back(); }

  FtpStatus Fail(int32_t error) const {
    const Exchange* last = LastExchange();
    return {error, last ? last->reply : std::string()};
  }

  // Which step of the login was refused tells a wrong name from a wrong
  // password.
  int32_t LoginError() const {
    const Exchange* last = LastExchange();
    std::string command = last ? last->command.substr(0, 4) : "";
    if (command == "USER") return kErrorInternetIncorrectUserName;
    if (command == "PASS") return kErrorInternetIncorrectPassword;
    return kErrorInternetLoginFailure;
  }

  // Turns a finished perform into the client's error number.
  FtpStatus Outcome(CURLcode code) const {
    const Exchange* last = LastExchange();
    switch (code) {
      case CURLE_OK:
        return {0, last ? last->reply : std::string()};
      case CURLE_COULDNT_RESOLVE_HOST:
      case CURLE_URL_MALFORMAT:  // a host name no resolver would accept
        return Fail(kErrorInternetNameNotResolved);
      case CURLE_COULDNT_CONNECT:
        return Fail(kErrorInternetCannotConnect);
      case CURLE_OPERATION_TIMEDOUT:
      case CURLE_FTP_ACCEPT_TIMEOUT:
        return Fail(kErrorInternetTimeout);
      case CURLE_LOGIN_DENIED:
        return Fail(LoginError());
      case CURLE_ABORTED_BY_CALLBACK:
      case CURLE_READ_ERROR:
      case CURLE_WRITE_ERROR:
        return Fail(kErrorInternetOperationCancelled);
      default:
        break;
    }
    // A refusal in the server's own words beats a generic transport error:
    // the caller can show the reply text.
    if (last != nullptr && last->code >= 400) return Fail(kErrorInternetExtendedError);
    switch (code) {
      case CURLE_RECV_ERROR:
      case CURLE_SEND_ERROR:
      case CURLE_GOT_NOTHING:
      case CURLE_FTP_WEIRD_SERVER_REPLY:
      case CURLE_PARTIAL_FILE:
        return Fail(kErrorInternetConnectionAborted);
      default:
        return Fail(kErrorInternetInternalError);
    }
  }

  FtpStatus Perform() {
    CURLcode code = curl_easy_perform(curl);
    return Outcome(code);
  }
};

FtpSession::FtpSession(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FtpSession::~FtpSession() = default;

std::unique_ptr<FtpSession> FtpSession::Open(const FtpSessionSettings& settings,
                                             FtpStatus& status) {
  auto impl = std::make_unique<Impl>();
  impl->settings = settings;
  impl->curl = curl_easy_init();
  if (impl->curl == nullptr) {
    status = {kErrorInternetInternalError, ""};
    return nullptr;
  }
  impl->Configure();
  // Connecting and logging in happen on a no-transfer request, so a wrong
  // password shows here and not at the first upload.
  impl->ResetRequest("");
  status = impl->Perform();
  if (!status.ok()) return nullptr;
  return std::unique_ptr<FtpSession>(new FtpSession(std::move(impl)));
}

FtpStatus FtpSession::Command(const std::vector<std::string>& commands, std::string* reply) {
  impl_->ResetRequest("");
  // A leading "*" keeps curl from dropping the connection on a negative
  // reply; the replies are judged here instead.
  Slist list;
  for (const std::string& command : commands) {
    list.reset(curl_slist_append(list.release(), ("*" + command).c_str()));
  }
  curl_easy_setopt(impl_->curl, CURLOPT_QUOTE, list.get());
  FtpStatus status = impl_->Perform();
  curl_easy_setopt(impl_->curl, CURLOPT_QUOTE, nullptr);
  if (!status.ok()) return status;
  // The dialogue also holds curl's own commands (login, TYPE, PWD); only
  // ours are judged, in order.
  size_t next = 0;
  const Exchange* last = nullptr;
  for (const Exchange& exchange : impl_->exchanges) {
    if (next == commands.size() || exchange.command != commands[next]) continue;
    ++next;
    last = &exchange;
    if (exchange.code >= 400 || exchange.code == 0) {
      return {kErrorInternetExtendedError, exchange.reply};
    }
  }
  if (next != commands.size()) return {kErrorInternetInternalError, ""};
  if (reply != nullptr && last != nullptr) *reply = last->reply;
  return status;
}

FtpStatus FtpSession::Upload(const std::string& remote, bool ascii, const ReadBlock& read) {
  impl_->ResetRequest(remote);
  impl_->read = &read;
  curl_easy_setopt(impl_->curl, CURLOPT_NOBODY, 0L);
  curl_easy_setopt(impl_->curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(impl_->curl, CURLOPT_TRANSFERTEXT, ascii ? 1L : 0L);
  curl_easy_setopt(impl_->curl, CURLOPT_READFUNCTION, Impl::Read);
  curl_easy_setopt(impl_->curl, CURLOPT_READDATA, impl_.get());
  FtpStatus status = impl_->Perform();
  impl_->read = nullptr;
  return status;
}

FtpStatus FtpSession::Download(const std::string& remote, bool ascii, const WriteBlock& write) {
  impl_->ResetRequest(remote);
  impl_->write = &write;
  curl_easy_setopt(impl_->curl, CURLOPT_NOBODY, 0L);
  curl_easy_setopt(impl_->curl, CURLOPT_TRANSFERTEXT, ascii ? 1L : 0L);
  curl_easy_setopt(impl_->curl, CURLOPT_WRITEFUNCTION, Impl::Write);
  curl_easy_setopt(impl_->curl, CURLOPT_WRITEDATA, impl_.get());
  FtpStatus status = impl_->Perform();
  impl_->write = nullptr;
  return status;
}

FtpStatus FtpSession::List(const std::string& folder, const std::string& command,
                           std::string& listing) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  impl_->ResetRequest(path);
  WriteBlock collect = [&listing](const char* data, size_t size) {
    listing.append(data, size);
    return true;
  };
  impl_->write = &collect;
  curl_easy_setopt(impl_->curl, CURLOPT_NOBODY, 0L);
  curl_easy_setopt(impl_->curl, CURLOPT_CUSTOMREQUEST, command.c_str());
  curl_easy_setopt(impl_->curl, CURLOPT_WRITEFUNCTION, Impl::Write);
  curl_easy_setopt(impl_->curl, CURLOPT_WRITEDATA, impl_.get());
  FtpStatus status = impl_->Perform();
  impl_->write = nullptr;
  return status;
}

}  // namespace typrosync

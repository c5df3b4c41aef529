// The HTTPS sender of the Windows build, on WinHTTP: the same request, the
// same time-outs and deadline, the same reply cap and stop handling as the
// Linux sender; certificates are checked against the Windows store, or
// against TYPROSYNC_CA_BUNDLE alone when that is set.
#include "transport/https_delivery.h"

#include <windows.h>
#include <wincrypt.h>
#include <winhttp.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>

#include "common/file_helpers.h"
#include "common/windows_text.h"
#include "transport/ca_bundle_windows.h"
#include "transport/https_watchdog_windows.h"

namespace typrosync {
namespace {

constexpr wchar_t kUserAgent[] = L"Brenvik TallyraPro Agri AutoSync 1.0 (nl-NL) Core";
constexpr char kCrLf[] = "\r\n";
constexpr DWORD kReadBlock = 64 * 1024;

void WriteLastMessage(const std::string& path, const std::string& bericht) {
  std::ofstream out(std::filesystem::path(WideFromUtf8(path)), std::ios::binary | std::ios::trunc);
  if (out) out << bericht << kCrLf;
}

void AppendReply(const std::string& path, const std::string& reply) {
  std::ofstream out(std::filesystem::path(WideFromUtf8(path)), std::ios::binary | std::ios::app);
  if (out) out << reply << kCrLf;
}

struct HandleCloser {
  void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct Endpoint {
  std::wstring host;
  std::wstring path;  // path and query
  INTERNET_PORT port = 0;
  bool secure = false;
};

// The headers in the Linux sender's order, Host first. WinHTTP adds neither
// Accept nor Expect, and no Host, Content-Length or Connection of its own
// when these are there already.
std::wstring RequestHeaders(const Endpoint& endpoint, const std::string& bericht) {
  const INTERNET_PORT usual =
      endpoint.secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
  std::wstring headers = L"Host: " + endpoint.host;
  if (endpoint.port != usual) headers += L":" + std::to_wstring(endpoint.port);
  headers +=
      L"\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
      L"Accept-Language: nl,en-us;q=0.7,en;q=0.3\r\n"
      L"Connection: keep-alive\r\n"
      L"User-Agent: " + std::wstring(kUserAgent) + L"\r\n";
  if (!bericht.empty()) {
    headers += L"Content-Length: " + std::to_wstring(bericht.size()) + L"\r\n" +
               L"Content-Type: application/xml; charset=UTF-8\r\n";
  }
  return headers;
}

std::optional<Endpoint> CrackUrl(const std::string& url) {
  const std::wstring wide = WideFromUtf8(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = DWORD(-1);
  if (!WinHttpCrackUrl(wide.c_str(), 0, 0, &parts)) return std::nullopt;
  Endpoint endpoint;
  endpoint.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  endpoint.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  endpoint.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (endpoint.path.empty()) endpoint.path = L"/";
  endpoint.port = parts.nPort;
  endpoint.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  return endpoint;
}

// What went wrong, in the terms the Dutch texts distinguish.
struct Outcome {
  DWORD error = 0;
  bool timed_out = false;     // the watchdog ended the exchange
  bool certificate = false;   // a certificate fault, whatever number it came as
  bool cut_off = false;       // the reply went past its cap
};

std::string DutchFailure(const Outcome& outcome) {
  if (outcome.timed_out) return "De server heeft niet op tijd geantwoord.";
  if (outcome.certificate) return "Het certificaat van de server kon niet worden gecontroleerd.";
  switch (outcome.error) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
      return "De naam van de server kon niet worden gevonden.";
    case ERROR_WINHTTP_CANNOT_CONNECT:
      return "Er kon geen verbinding met de server worden gemaakt.";
    case ERROR_WINHTTP_TIMEOUT:
    case WSAETIMEDOUT:  // a receive timed out below WinHTTP (so under Wine)
      return "De server heeft niet op tijd geantwoord.";
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
    case ERROR_WINHTTP_SECURE_FAILURE:
      return "Het certificaat van de server kon niet worden gecontroleerd.";
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
      return "De beveiligde verbinding met de server kon niet worden opgezet.";
    case ERROR_WINHTTP_CONNECTION_ERROR:
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
      return "De verbinding met de server is verbroken.";
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
      return "Het adres van de server is ongeldig.";
    default:
      return "Het verzenden naar de server is mislukt (fout " + std::to_string(outcome.error) +
             ").";
  }
}

// WinHTTP reports certificate faults found during the handshake through the
// status callback, before failing with a general number.
void CALLBACK NoteSecureFailure(HINTERNET, DWORD_PTR context, DWORD status, LPVOID, DWORD) {
  if (status == WINHTTP_CALLBACK_STATUS_SECURE_FAILURE && context != 0) {
    reinterpret_cast<Outcome*>(context)->certificate = true;
  }
}

bool Listen(HINTERNET request, Outcome& outcome) {
  auto context = reinterpret_cast<DWORD_PTR>(&outcome);
  return WinHttpSetOption(request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context) &&
         WinHttpSetStatusCallback(request, NoteSecureFailure, WINHTTP_CALLBACK_FLAG_SECURE_FAILURE,
                                  0) != WINHTTP_INVALID_STATUS_CALLBACK;
}

class WinHttpSender : public HttpsSender {
 public:
  WinHttpSender(std::string data_map, HttpsOptions options)
      : data_map_(WithFinalSlash(std::move(data_map))), options_(std::move(options)) {
    if (options_.url.empty()) options_.url = CropREndpoint();
    if (!options_.ca_bundle.empty()) bundle_ = std::make_unique<CaBundle>(options_.ca_bundle);
  }

  HttpsReply VerstuurViaHTTPS(const std::string& bericht) override {
    WriteLastMessage(data_map_ + "bericht.xml", bericht);
    HttpsReply result;
    std::string body;
    Outcome outcome = Exchange(bericht, body);
    if (outcome.error != 0 || outcome.timed_out || outcome.certificate || outcome.cut_off) {
      // A connection in an unknown state, or with reply bytes left unread,
      // is not used for the next message.
      session_.reset();
      connection_.reset();
    }
    if (!outcome.cut_off && (outcome.error != 0 || outcome.timed_out || outcome.certificate)) {
      result.failure = DutchFailure(outcome);
      return result;
    }
    result.sent = true;
    result.reply = std::move(body);
    // The reply counts even when response.txt cannot take it: the message
    // was delivered, and sending it again would deliver it twice.
    AppendReply(data_map_ + "response.txt", result.reply);
    return result;
  }

 private:
  Outcome Exchange(const std::string& bericht, std::string& body) {
    Outcome outcome;
    const std::optional<Endpoint> endpoint = CrackUrl(options_.url);
    if (!endpoint) {
      outcome.error = GetLastError();
      return outcome;
    }
    if (!Connect(*endpoint, outcome)) return outcome;
    Handle request(OpenRequest(*endpoint, bericht));
    if (!request) {
      outcome.error = GetLastError();
      return outcome;
    }
    HttpsWatchdog watchdog(request.get(), WatchdogLimits());
    if (!Listen(request.get(), outcome)) {
      outcome.error = GetLastError();
    } else if (Send(request.get(), bericht, watchdog, outcome)) {
      ReadReply(request.get(), watchdog, body, outcome);
    }
    // A call given only the time left fails when it runs out, with whatever
    // number the layer below chose (a handshake cut short is a channel
    // error): that is a time-out too.
    const bool expired = watchdog.MillisecondsLeft() == 0;
    // Closed by the watchdog: the handle must not be closed a second time.
    if (watchdog.Finish()) {
      (void)request.release();
      outcome.timed_out = true;
    }
    if (expired && outcome.error != 0) outcome.timed_out = true;
    return outcome;
  }

  HttpsWatchdog::Limits WatchdogLimits() const {
    HttpsWatchdog::Limits limits;
    limits.connect_ms = options_.connect_timeout_ms;
    limits.exchange_ms = options_.exchange_timeout_ms;
    limits.stop = options_.stop;
    limits.stop_grace_ms = options_.stop_grace_ms;
    return limits;
  }

  // One session and one connection handle serve the messages of a run, so
  // WinHTTP keeps the connection open between them; without reuse every
  // message gets a fresh session and so a fresh connection.
  bool Connect(const Endpoint& endpoint, Outcome& outcome) {
    if (!options_.reuse_connection || !session_) {
      connection_.reset();
      session_.reset(WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                 WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    }
    if (session_ && !connection_) {
      connection_.reset(WinHttpConnect(session_.get(), endpoint.host.c_str(), endpoint.port, 0));
    }
    if (!session_ || !connection_) outcome.error = GetLastError();
    return session_ && connection_;
  }

  HINTERNET OpenRequest(const Endpoint& endpoint, const std::string& bericht) {
    HINTERNET request = WinHttpOpenRequest(
        connection_.get(), bericht.empty() ? L"GET" : L"POST", endpoint.path.c_str(), nullptr,
        WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
        endpoint.secure ? WINHTTP_FLAG_SECURE : 0);
    if (request != nullptr && !Configure(request, endpoint, bericht)) {
      const DWORD error = GetLastError();
      WinHttpCloseHandle(request);
      SetLastError(error);
      return nullptr;
    }
    return request;
  }

  // As curl does by default: no redirects followed, no cookies kept; without
  // reuse, keep-alive is off so that Windows closes the connection after the
  // reply (WinHTTP pools connections for the whole process, and Wine 8 does
  // so even then). The time-outs are set before each call (Bounded).
  bool Configure(HINTERNET request, const Endpoint& endpoint, const std::string& bericht) {
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    DWORD disabled = WINHTTP_DISABLE_COOKIES;
    if (!options_.reuse_connection) disabled |= WINHTTP_DISABLE_KEEP_ALIVE;
    bool ok = WinHttpSetOption(request, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never) &&
              WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &disabled,
                               sizeof disabled);
    if (ok && bundle_) {
      // The root is judged by the bundle after the handshake (VerifiedByBundle);
      // WinHTTP still checks the name and the dates.
      DWORD flags = SECURITY_FLAG_IGNORE_UNKNOWN_CA;
      ok = WinHttpSetOption(request, WINHTTP_OPTION_SECURITY_FLAGS, &flags, sizeof flags);
    }
    const std::wstring headers = RequestHeaders(endpoint, bericht);
    return ok && WinHttpAddRequestHeaders(request, headers.c_str(), DWORD(-1),
                                          WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
  }

  // With a bundle, the certificate can only be judged once the connection
  // is up, which WinHTTP does while sending the headers: so the headers go
  // out first and the body only once the bundle accepts the certificate. A
  // server the bundle does not trust sees the fixed headers, never the
  // message. The request's end (headers out) is also the connection's.
  bool Send(HINTERNET request, const std::string& bericht, HttpsWatchdog& watchdog,
            Outcome& outcome) {
    if (!Bounded(request, watchdog, outcome)) return false;
    if (!WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                            static_cast<DWORD>(bericht.size()), 0)) {
      outcome.error = GetLastError();
      return false;
    }
    watchdog.Connected();
    if (bundle_ && !VerifiedByBundle(request)) {
      outcome.certificate = true;
      return false;
    }
    for (size_t done = 0; done < bericht.size();) {
      DWORD written = 0;
      const auto part = static_cast<DWORD>(std::min<size_t>(bericht.size() - done, kReadBlock));
      if (!Bounded(request, watchdog, outcome)) return false;
      if (!WinHttpWriteData(request, bericht.data() + done, part, &written)) {
        outcome.error = GetLastError();
        return false;
      }
      done += written;
    }
    if (!Bounded(request, watchdog, outcome)) return false;
    if (!WinHttpReceiveResponse(request, nullptr)) {
      outcome.error = GetLastError();
      return false;
    }
    return true;
  }

  // Gives the next blocking call the configured time-outs, or less when the
  // watchdog will end the request sooner; false (a time-out) when it has.
  // The name resolution shares the connect time-out, and the wait for the
  // reply's headers is a receive like any other.
  bool Bounded(HINTERNET request, HttpsWatchdog& watchdog, Outcome& outcome) const {
    const long left = watchdog.MillisecondsLeft();
    if (left == 0) {
      outcome.timed_out = true;
      return false;
    }
    const int connect = static_cast<int>(std::min(options_.connect_timeout_ms, left));
    DWORD receive = static_cast<DWORD>(std::min(options_.receive_timeout_ms, left));
    const int send = static_cast<int>(std::min(options_.send_timeout_ms, left));
    WinHttpSetTimeouts(request, connect, connect, send, static_cast<int>(receive));
    WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &receive, sizeof receive);
    return true;
  }

  bool VerifiedByBundle(HINTERNET request) const {
    PCCERT_CONTEXT certificate = nullptr;
    DWORD size = sizeof certificate;
    if (!WinHttpQueryOption(request, WINHTTP_OPTION_SERVER_CERT_CONTEXT, &certificate, &size)) {
      return false;
    }
    const bool trusted = bundle_->TrustsChainOf(certificate);
    CertFreeCertificateContext(certificate);
    return trusted;
  }

  // The body up to its cap; one byte more tells a reply that is longer.
  // Only what has arrived is read, so that a trickling reply returns to the
  // deadline check between its bytes.
  void ReadReply(HINTERNET request, HttpsWatchdog& watchdog, std::string& body,
                 Outcome& outcome) const {
    const size_t cap = options_.max_reply_bytes;
    std::string block(kReadBlock, '\0');
    for (;;) {
      DWORD available = 0;
      if (!Bounded(request, watchdog, outcome)) return;
      if (!WinHttpQueryDataAvailable(request, &available)) {
        outcome.error = GetLastError();
        return;
      }
      if (available == 0) return;
      if (body.size() == cap) {
        outcome.cut_off = true;
        return;
      }
      const auto want = static_cast<DWORD>(
          std::min<size_t>({cap - body.size(), size_t{available}, size_t{kReadBlock}}));
      DWORD got = 0;
      if (!WinHttpReadData(request, block.data(), want, &got)) {
        outcome.error = GetLastError();
        return;
      }
      body.append(block.data(), got);
    }
  }

  std::string data_map_;
  HttpsOptions options_;
  std::unique_ptr<CaBundle> bundle_;
  Handle session_;
  Handle connection_;
};

}  // namespace

std::unique_ptr<HttpsSender> MakeHttpsSender(std::string data_map, HttpsOptions options) {
  return std::make_unique<WinHttpSender>(std::move(data_map), std::move(options));
}

}  // namespace typrosync

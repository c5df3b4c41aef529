#include "transport/https_delivery.h"

#include "common/file_helpers.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <optional>
#include <string_view>
#include <utility>

namespace typrosync {
namespace {

constexpr char kUserAgent[] = "Brenvik TallyraPro Agri AutoSync 1.0 (nl-NL) Core";
constexpr char kCrLf[] = "\r\n";

using SteadyClock = std::chrono::steady_clock;

// bericht.xml may not be writable; the message still goes out.
void WriteLastMessage(const std::string& path, const std::string& bericht) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out << bericht << kCrLf;
}

// response.txt keeps every reply of the run, each closed by CR LF, so a
// support desk can read back what the platform said.
void AppendReply(const std::string& path, const std::string& reply) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (out) out << reply << kCrLf;
}

// The six headers in their fixed order; the last two only with a body. The
// empty "Expect:" keeps curl from adding its own for larger bodies.
curl_slist* BuildHeaders(const std::string& bericht) {
  curl_slist* list = nullptr;
  list = curl_slist_append(
      list, "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
  list = curl_slist_append(list, "Accept-Language: nl,en-us;q=0.7,en;q=0.3");
  list = curl_slist_append(list, "Connection: keep-alive");
  list = curl_slist_append(list, (std::string("User-Agent: ") + kUserAgent).c_str());
  if (!bericht.empty()) {
    list = curl_slist_append(list, ("Content-Length: " + std::to_string(bericht.size())).c_str());
    list = curl_slist_append(list, "Content-Type: application/xml; charset=UTF-8");
  }
  list = curl_slist_append(list, "Expect:");
  return list;
}

struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

// Watches the transfer for the send and receive time-outs: a phase in which
// no byte moves for too long is aborted from the progress callback. The
// clock starts once the connection is up; until then the connect time-out rules.
// A stop request gives the transfer a last grace period.
struct TransferWatch {
  CURL* curl = nullptr;
  long send_timeout_ms = 0;
  long receive_timeout_ms = 0;
  const StopRequest* stop = nullptr;
  long stop_grace_ms = 0;
  curl_off_t last_up = -1;
  curl_off_t last_down = -1;
  SteadyClock::time_point last_activity = SteadyClock::now();
  std::optional<SteadyClock::time_point> stop_seen;
  bool timed_out = false;

  bool GraceOver(SteadyClock::time_point now) {
    if (stop == nullptr || !stop->StopRequested()) return false;
    if (!stop_seen) stop_seen = now;
    return now - *stop_seen >= std::chrono::milliseconds(stop_grace_ms);
  }

  bool Expired(curl_off_t ultotal, curl_off_t ulnow, curl_off_t dlnow) {
    auto now = SteadyClock::now();
    if (GraceOver(now)) return timed_out = true;
    curl_off_t pretransfer = 0;
    curl_easy_getinfo(curl, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
    // Any byte moving either way counts as activity and restarts the clock.
    if (pretransfer == 0 || ulnow != last_up || dlnow != last_down) {
      last_up = ulnow;
      last_down = dlnow;
      last_activity = now;
      return false;
    }
    // Until the whole body is out the send time-out applies; after that the
    // wait is for the reply.
    bool sending = ulnow < ultotal;
    long limit = sending ? send_timeout_ms : receive_timeout_ms;
    auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(now - last_activity);
    timed_out = idle.count() >= limit;
    return timed_out;
  }
};

int ProgressCallback(void* user, curl_off_t, curl_off_t dlnow, curl_off_t ultotal,
                     curl_off_t ulnow) {
  return static_cast<TransferWatch*>(user)->Expired(ultotal, ulnow, dlnow) ? 1 : 0;
}

// The reply body up to its cap; the bytes past it are not read.
struct ReplyBody {
  std::string bytes;
  size_t cap = 0;
  bool cut_off = false;
};

size_t CollectBody(char* data, size_t size, size_t count, void* user) {
  ReplyBody& body = *static_cast<ReplyBody*>(user);
  const size_t given = size * count;
  const size_t room = body.cap - body.bytes.size();
  body.bytes.append(data, std::min(given, room));
  // Returning fewer bytes than given is how curl is told to stop reading.
  if (given <= room) return given;
  body.cut_off = true;
  return 0;  // ends the transfer
}

// The reason shown to the person who reads the log, in Dutch and without
// curl's own wording; the number is kept only for the unexpected cases.
std::string DutchFailure(CURLcode code, bool timed_out) {
  if (timed_out) return "De server heeft niet op tijd geantwoord.";
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return "De naam van de server kon niet worden gevonden.";
    case CURLE_COULDNT_CONNECT:
      return "Er kon geen verbinding met de server worden gemaakt.";
    case CURLE_OPERATION_TIMEDOUT:
      return "De server heeft niet op tijd geantwoord.";
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
      return "Het certificaat van de server kon niet worden gecontroleerd.";
    case CURLE_SSL_CONNECT_ERROR:
      return "De beveiligde verbinding met de server kon niet worden opgezet.";
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
      return "De verbinding met de server is verbroken.";
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
      return "Het adres van de server is ongeldig.";
    default:
      return "Het verzenden naar de server is mislukt (fout " +
             std::to_string(static_cast<int>(code)) + ").";
  }
}

class CurlHttpsSender : public HttpsSender {
 public:
  CurlHttpsSender(std::string data_map, HttpsOptions options)
      : data_map_(WithFinalSlash(std::move(data_map))), options_(std::move(options)) {
    if (options_.url.empty()) options_.url = CropREndpoint();
  }

  HttpsReply VerstuurViaHTTPS(const std::string& bericht) override {
    WriteLastMessage(data_map_ + "bericht.xml", bericht);
    HttpsReply result;
    ReplyBody body{{}, options_.max_reply_bytes, false};
    TransferWatch watch;
    CURLcode code = Perform(bericht, body, watch);
    if (code != CURLE_OK) {
      // A handle in an unknown state is not reused for the next message.
      handle_.reset();
      // A reply cut at its cap still means the message arrived: only a
      // transfer that failed otherwise counts as not sent.
      if (!body.cut_off) {
        result.failure = DutchFailure(code, watch.timed_out);
        return result;
      }
    }
    result.sent = true;
    result.reply = std::move(body.bytes);
    // The reply counts even when response.txt cannot take it: the message
    // was delivered, and sending it again would deliver it twice.
    AppendReply(data_map_ + "response.txt", result.reply);
    return result;
  }

 private:
  CURLcode Perform(const std::string& bericht, ReplyBody& body, TransferWatch& watch) {
    if (!handle_ || !options_.reuse_connection) handle_.reset(curl_easy_init());
    CURL* curl = handle_.get();
    if (curl == nullptr) return CURLE_FAILED_INIT;
    std::unique_ptr<curl_slist, SlistDeleter> headers(BuildHeaders(bericht));
    watch.curl = curl;
    watch.send_timeout_ms = options_.send_timeout_ms;
    watch.receive_timeout_ms = options_.receive_timeout_ms;
    watch.stop = options_.stop;
    watch.stop_grace_ms = options_.stop_grace_ms;
    SetRequestOptions(curl, bericht, headers.get());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, CollectBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, ProgressCallback);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &watch);
    CURLcode code = curl_easy_perform(curl);
    // The list and watch die with this call; the handle must not keep them.
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, nullptr);
    return code;
  }

  void SetRequestOptions(CURL* curl, const std::string& bericht, curl_slist* headers) {
    curl_easy_setopt(curl, CURLOPT_URL, options_.url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    if (bericht.empty()) {
      curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    } else {
      curl_easy_setopt(curl, CURLOPT_POST, 1L);
      curl_easy_setopt(curl, CURLOPT_POSTFIELDS, bericht.data());
      curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(bericht.size()));
    }
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!options_.ca_bundle.empty()) {
      curl_easy_setopt(curl, CURLOPT_CAINFO, options_.ca_bundle.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, options_.connect_timeout_ms);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, options_.exchange_timeout_ms);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    // No signals: the run's own stop handling must not be disturbed by
    // curl's alarm-based name look-up time-outs.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, options_.reuse_connection ? 0L : 1L);
  }

  std::string data_map_;
  HttpsOptions options_;
  std::unique_ptr<CURL, EasyDeleter> handle_;
};

}  // namespace

std::unique_ptr<HttpsSender> MakeHttpsSender(std::string data_map, HttpsOptions options) {
  return std::make_unique<CurlHttpsSender>(std::move(data_map), std::move(options));
}

}  // namespace typrosync

#pragma once
// Delivery of one finished Crop-R message by HTTPS POST. The sender keeps one
// connection open across the messages of a run where the server allows it.

#include <cstddef>
#include <memory>
#include <string>

#include "common/stop_request.h"

namespace typrosync {

// The fixed Crop-R supplier endpoint; TYPROSYNC_CROPR_URL replaces it whole.
std::string CropREndpoint();

// What one request gave back. `sent` false: the request itself failed (no
// reply at all); `failure` then holds a Dutch text for the run log.
struct HttpsReply {
  bool sent = false;
  std::string reply;    // the reply body as received (when sent)
  std::string failure;  // readable Dutch text (when not sent)
};

// Settings of the sender. Defaults are those of a run; tests shorten the
// time-outs and point the URL and CA bundle at a local server.
struct HttpsOptions {
  std::string url;        // endpoint; empty = CropREndpoint()
  std::string ca_bundle;  // PEM file of trusted CAs; empty = system store
  long connect_timeout_ms = 60000;
  long send_timeout_ms = 30000;     // no byte sent for this long: time-out
  long receive_timeout_ms = 30000;  // no byte received for this long: time-out
  bool reuse_connection = true;     // false: a fresh connection per message
  // The whole exchange, connecting included, ends in time even when the
  // reply trickles in without end; cut off it is a time-out.
  long exchange_timeout_ms = 120000;
  // A longer reply is cut off there: only its first part is kept and
  // logged, and it is no acknowledgement.
  size_t max_reply_bytes = size_t{1} << 20;
  // Once a stop is requested the request in flight gets this much longer to
  // finish, so a stopped run ends well inside a service manager's patience.
  const StopRequest* stop = nullptr;
  long stop_grace_ms = 30000;
};

// The options of a run: defaults plus TYPROSYNC_CROPR_URL and TYPROSYNC_CA_BUNDLE.
HttpsOptions HttpsOptionsFromEnvironment();

class HttpsSender {
 public:
  virtual ~HttpsSender() = default;
  // Writes `bericht` to bericht.xml in the data folder (errors ignored), POSTs
  // it (GET when empty) with the fixed headers, appends the reply to
  // response.txt and returns it. Certificates are always verified.
  virtual HttpsReply VerstuurViaHTTPS(const std::string& bericht) = 0;
};

// `data_map` is the data folder (a final "/" is added when missing).
std::unique_ptr<HttpsSender> MakeHttpsSender(std::string data_map);
std::unique_ptr<HttpsSender> MakeHttpsSender(std::string data_map, HttpsOptions options);

}  // namespace typrosync

#pragma once
// A Crop-R message that was refused or could not be sent needs a person's
// attention: this sender passes every request through and, asked after each
// customer, warns on standard error about the one that went wrong. The run
// log keeps the whole reply; the warning carries its first line.

#include <memory>
#include <optional>
#include <string>

#include "run/console_output.h"
#include "transport/https_delivery.h"

namespace typrosync {

class CropRWarnings : public HttpsSender {
 public:
  // `output` must outlive the sender.
  CropRWarnings(std::unique_ptr<HttpsSender> sender, ConsoleOutput& output);

  // The wrapped sender's reply, remembered for ReportFor.
  HttpsReply VerstuurViaHTTPS(const std::string& bericht) override;
  // Warns when the request made since the last call (for customer `relnr`)
  // was refused or failed; nothing when none was made or it was acknowledged.
  void ReportFor(const std::string& relnr);

 private:
  std::unique_ptr<HttpsSender> sender_;
  ConsoleOutput& output_;
  std::optional<HttpsReply> last_;
};

// The warning for customer `relnr`'s request; nullopt when `reply` is an
// acknowledgement.
std::optional<std::string> CropRWarning(const std::string& relnr, const HttpsReply& reply);

}  // namespace typrosync

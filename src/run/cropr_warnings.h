#pragma once
// A Crop-R message that was refused or could not be sent needs a person's
// attention: told of each Crop-R reply, this warns on standard error about
// the one that went wrong. The run log keeps the whole reply; the warning
// carries its first line.

#include <optional>
#include <string>

#include "orders/delivery.h"
#include "run/console_output.h"
#include "transport/https_delivery.h"

namespace typrosync {

class CropRWarnings : public CropRObserver {
 public:
  // `output` must outlive this.
  explicit CropRWarnings(ConsoleOutput& output) : output_(output) {}

  // Warns when the request for customer `sRelNr` was refused or failed.
  void CropRAnswered(const std::string& sRelNr, const HttpsReply& reply) override;

 private:
  ConsoleOutput& output_;
};

// The warning for customer `relnr`'s request; nullopt when `reply` is an
// acknowledgement.
std::optional<std::string> CropRWarning(const std::string& relnr, const HttpsReply& reply);

}  // namespace typrosync

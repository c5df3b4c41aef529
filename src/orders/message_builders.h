#pragma once
// The two delivery message builders as the order run calls them. Each reads
// the delivery lines of the customer being handled (RunState::lvwLeveringen)
// and the administration, builds one message and hands it to its transport
// (orders/delivery.h).

#include <string>

namespace typrosync {

class MessageBuilders {
 public:
  virtual ~MessageBuilders() = default;
  // Builds and posts the Crop-R message of customer `sRelNr`; true when the
  // platform acknowledged it (only then are the orders stamped).
  virtual bool BouwBerichtCropR(const std::string& sRelNr) = 0;
  // Builds and uploads the AgroVision message of customer `sRelNr`. The
  // orders are stamped afterwards whatever the outcome of the transfer.
  virtual void BouwBerichtAgroVision(const std::string& sRelNr) = 0;
};

}  // namespace typrosync

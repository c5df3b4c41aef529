#pragma once
// The message builders as the order run uses them: each builds one customer's
// message (message/delivery_message.h) and hands it over, Crop-R over HTTPS,
// AgroVision over FTP.
//
// What follows the hand-over differs: AgroVision clears the busy flag;
// Crop-R reports the acknowledgement and logs a refusal. Once the Crop-R
// request itself has failed in a run, later Crop-R messages of that run are
// not attempted: their lines stay pending.

#include <string>

#include "common/run_log.h"
#include "message/delivery_message.h"
#include "orders/message_builders.h"
#include "transport/ftp_delivery.h"
#include "transport/https_delivery.h"

namespace typrosync {

// Told of each Crop-R request that was made, with its customer: the console
// of an unattended run warns about a refusal there.
class CropRObserver {
 public:
  virtual ~CropRObserver() = default;
  virtual void CropRAnswered(const std::string& sRelNr, const HttpsReply& reply) = 0;
};

class Delivery : public MessageBuilders {
 public:
  // Everything passed in must outlive the delivery; `observer` may be null.
  Delivery(RunState& state, MessageTables tabellen, Clock& clock, Separators& separators,
           HttpsSender& https, FtpSender& ftp, RunLog& log, CropRObserver* observer = nullptr);

  // Builds and posts; true only when Crop-R answered "<ok/>", "<ok />" or
  // "<ok>" (any case). Otherwise logs the CROPR status line with the reply,
  // or with the failure of the request itself.
  bool BouwBerichtCropR(const std::string& sRelNr) override;
  // Builds and uploads as sRelNr_sRunId.xml, then clears RunState::bBezig.
  void BouwBerichtAgroVision(const std::string& sRelNr) override;

 private:
  void LogStatus(const std::string& text);

  RunState& state_;
  DeliveryMessage message_;
  HttpsSender& https_;
  FtpSender& ftp_;
  RunLog& log_;
  CropRObserver* observer_;
  bool cropr_unreachable_ = false;  // the Crop-R request itself failed this run
};

}  // namespace typrosync

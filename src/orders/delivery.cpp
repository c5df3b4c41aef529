#include "orders/delivery.h"

#include "message/message_values.h"

namespace typrosync {
namespace {

const char kNoConnection[] = "Niet verstuurd: Crop-R was eerder in deze run onbereikbaar";
const char kSendingFailed[] = "Verzenden naar Crop-R mislukt";

}  // namespace

Delivery::Delivery(RunState& state, MessageTables tabellen, Clock& clock,
                   Separators& separators, HttpsSender& https, FtpSender& ftp, RunLog& log,
                   CropRObserver* observer)
    : state_(state),
      message_(state, tabellen, clock, separators),
      https_(https),
      ftp_(ftp),
      log_(log),
      observer_(observer) {}

bool Delivery::BouwBerichtCropR(const std::string& sRelNr) {
  MessageCounts& counts = state_.summary.cropr;
  // A dead endpoint would cost every later customer the whole time-out.
  if (cropr_unreachable_) {
    LogStatus(kNoConnection);
    ++counts.failed;
    return false;
  }
  std::optional<std::string> bericht = message_.BouwBericht(sRelNr, Platform::kCropR);
  if (!bericht) return false;
  HttpsReply answer = https_.VerstuurViaHTTPS(*bericht);
  if (observer_ != nullptr) observer_->CropRAnswered(sRelNr, answer);
  if (!answer.sent) {
    cropr_unreachable_ = true;
    LogStatus(answer.failure.empty() ? kSendingFailed : answer.failure);
    ++counts.failed;
    return false;
  }
  if (IsAcceptedReply(answer.reply)) {
    ++counts.sent;
    return true;
  }
  LogStatus(answer.reply);
  ++counts.refused;
  return false;
}

void Delivery::BouwBerichtAgroVision(const std::string& sRelNr) {
  std::optional<std::string> bericht = message_.BouwBericht(sRelNr, Platform::kAgroVision);
  if (!bericht) return;
  const FtpOutcome outcome = ftp_.VerstuurViaFTP(*bericht, sRelNr + "_" + state_.sRunId + ".xml");
  MessageCounts& counts = state_.summary.agrovision;
  ++(outcome == FtpOutcome::kUploaded  ? counts.sent
     : outcome == FtpOutcome::kRefused ? counts.refused
                                       : counts.failed);
  state_.bBezig = false;
}

void Delivery::LogStatus(const std::string& text) {
  log_.LogRegel(PadRechts("CROPR", 10) + ": Status          : " + text, 0, "");
}

}  // namespace typrosync

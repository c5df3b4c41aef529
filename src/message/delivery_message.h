#pragma once
// The two delivery message builders: one AgroConnect XML-Leveringsbericht
// (version 1_05) per customer and platform, built from the customer's rows of
// RunState::lvwLeveringen and the administration, then handed to Crop-R
// (HTTPS) or AgroVision (FTP).
//
// The message is one line of text without any line break:
//   <?xml version="1.0" encoding="UTF-8" ?><LeveringsBericht xmlns=".." xmlns:xsi="..">
//   <Header ... /><Leverancier ... /><Afnemer ... /><Segmenten><GBM>
//   <SegmentLevering ...><SegmentEigenschapRegel ... />...</SegmentLevering>...
//   </GBM></Segmenten></LeveringsBericht>
// Every line goes into the one crop-protection group GBM, grouped per voucher
// and order in the order those pairs first appear among the rows. The
// platforms read attributes by position as well as by name, so their order,
// the " />" endings and the absence of escaping are part of the contract.
//
// The builders differ in three things only: the supplier number (AgroVision
// writes it, Crop-R leaves it empty), the hand-over, and what follows it
// (AgroVision clears the busy flag; Crop-R reports the acknowledgement and
// logs a refusal). Once the Crop-R request itself has failed in a run, later
// Crop-R messages of that run are not attempted: their lines stay pending.

#include <optional>
#include <string>

#include "common/clock.h"
#include "common/locale_settings.h"
#include "common/run_state.h"
#include "common/string_builder.h"
#include "database/administratie.h"
#include "message/message_builders.h"
#include "message/message_tables.h"
#include "common/run_log.h"
#include "transport/ftp_delivery.h"
#include "transport/https_delivery.h"

namespace typrosync {

enum class Platform { kCropR, kAgroVision };

// The six recordsets of the open administration the builders read.
BerichtTabellen BerichtTabellenVan(Administratie& administratie);

class DeliveryMessage : public MessageBuilders {
 public:
  // Everything passed in must outlive the builders.
  DeliveryMessage(RunState& state, BerichtTabellen tabellen, HttpsSender& https, FtpSender& ftp,
                  Clock& clock, RunLog& log, Separators& separators);
  DeliveryMessage(const DeliveryMessage&) = delete;
  DeliveryMessage& operator=(const DeliveryMessage&) = delete;

  // Builds and posts; true only when Crop-R answered "<ok/>", "<ok />" or
  // "<ok>" (any case). Otherwise logs the CROPR status line with the reply,
  // or with the failure of the request itself.
  bool BouwBerichtCropR(const std::string& sRelNr) override;
  // Builds and uploads as sRelNr_sRunId.xml, then clears RunState::bBezig.
  void BouwBerichtAgroVision(const std::string& sRelNr) override;

  // The message text alone; nullopt when sRelNr is not in RelatieGegevens.
  // Empties lstUniek and lstOrderNr first. For AgroVision it cleans
  // RunState::sLeveranciersNummer in place, as every AgroVision build does.
  std::optional<std::string> BouwBericht(const std::string& sRelNr, Platform platform);

 private:
  void VerzamelParen(const std::string& sRelNr);
  void AppendSegmenten(const std::string& sRelNr, cStringBuilder& sbBericht);
  void LogStatus(const std::string& tekst);

  RunState& state_;
  BerichtTabellen tabellen_;
  HttpsSender& https_;
  FtpSender& ftp_;
  Clock& clock_;
  RunLog& log_;
  Separators& separators_;
  bool cropr_onbereikbaar_ = false;  // the Crop-R request itself failed this run
};

}  // namespace typrosync

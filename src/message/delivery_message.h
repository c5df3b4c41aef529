#pragma once
// The two delivery message builders: one AgroConnect XML-Leveringsbericht
// (version 1_05) per customer and platform, built from the customer's rows of
// RunState::lvwLeveringen and the administration, then handed to Crop-R
// (HTTPS) or AgroVision (FTP) by orders/delivery.h. This class builds the
// text only.
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
// The two platforms' messages differ in the supplier number only
// (AgroVision writes it, Crop-R leaves it empty).

#include <optional>
#include <string>

#include "common/clock.h"
#include "common/locale_settings.h"
#include "common/run_state.h"
#include "common/string_builder.h"
#include "database/administratie.h"
#include "message/message_tables.h"

namespace typrosync {

enum class Platform { kCropR, kAgroVision };

// The six recordsets of the open administration the builders read.
MessageTables MessageTablesOf(Administratie& administratie);

class DeliveryMessage {
 public:
  // Everything passed in must outlive the builder.
  DeliveryMessage(RunState& state, MessageTables tables, Clock& clock, Separators& separators);
  DeliveryMessage(const DeliveryMessage&) = delete;
  DeliveryMessage& operator=(const DeliveryMessage&) = delete;

  // The message text alone; nullopt when sRelNr is not in RelatieGegevens.
  // Empties lstUniek and lstOrderNr first. For AgroVision it cleans
  // RunState::sLeveranciersNummer in place, as every AgroVision build does.
  std::optional<std::string> BouwBericht(const std::string& sRelNr, Platform platform);

 private:
  void CollectPairs(const std::string& sRelNr);
  void AppendSegments(const std::string& sRelNr, cStringBuilder& sbBericht);

  RunState& state_;
  MessageTables tables_;
  Clock& clock_;
  Separators& separators_;
};

}  // namespace typrosync

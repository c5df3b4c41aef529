#include "run/delivery_builders.h"

#include "message/delivery_message.h"
#include "run/cropr_warnings.h"
#include "transport/ftp_delivery.h"
#include "transport/https_delivery.h"

namespace typrosync {
namespace {

HttpsOptions CropROptions(const StopRequest& stop) {
  HttpsOptions options = HttpsOptionsFromEnvironment();
  options.stop = &stop;
  return options;
}

// The builders with the transports they send through, kept together so the
// senders live exactly as long as the builders.
class BerichtBouwers : public MessageBuilders {
 public:
  BerichtBouwers(BuilderServices& s, const StopRequest& stop, ConsoleOutput& output)
      : https_(std::make_unique<CropRWarnings>(MakeHttpsSender(s.log.DataMap(), CropROptions(stop)),
                                               output)),
        ftp_(MakeFtpSender(s.log.DataMap(), s.ui)),
        bericht_(s.state, BerichtTabellenVan(s.admin), *https_, *ftp_, s.clock, s.log) {}

  bool BouwBerichtCropR(const std::string& sRelNr) override {
    const bool ok = bericht_.BouwBerichtCropR(sRelNr);
    https_->ReportFor(sRelNr);
    return ok;
  }
  void BouwBerichtAgroVision(const std::string& sRelNr) override {
    bericht_.BouwBerichtAgroVision(sRelNr);
  }

 private:
  std::unique_ptr<CropRWarnings> https_;
  std::unique_ptr<FtpSender> ftp_;
  DeliveryMessage bericht_;
};

}  // namespace

MessageBuildersFactory MakeDeliveryBuilders(const StopRequest& stop, ConsoleOutput& output) {
  return [&stop, &output](BuilderServices& s) {
    return std::make_unique<BerichtBouwers>(s, stop, output);
  };
}

}  // namespace typrosync

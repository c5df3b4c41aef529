#include "run/run_senders.h"

namespace typrosync {

RunSenders MakeRunSenders(const std::string& data_map, const StopRequest& stop,
                          UserInterface& ui, ConsoleOutput& output) {
  HttpsOptions options = HttpsOptionsFromEnvironment();
  options.stop = &stop;  // a stop shortens the request in flight
  return {MakeHttpsSender(data_map, std::move(options)), MakeFtpSender(data_map, ui),
          std::make_unique<CropRWarnings>(output)};
}

}  // namespace typrosync

// The endpoint and the settings of a run's HTTPS sender, the same on every
// platform; only the sender itself differs.
#include "transport/https_delivery.h"

#include <cstdlib>
#include <utility>

namespace typrosync {
namespace {

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::string CropREndpoint() {
  std::string url = EnvironmentValue("TYPROSYNC_CROPR_URL");
  if (!url.empty()) return url;
  return std::string("https://edi.crop-r.com") + "/supplier/" + "edi_levering/";
}

HttpsOptions HttpsOptionsFromEnvironment() {
  HttpsOptions options;
  options.url = CropREndpoint();
  options.ca_bundle = EnvironmentValue("TYPROSYNC_CA_BUNDLE");
  return options;
}

std::unique_ptr<HttpsSender> MakeHttpsSender(std::string data_map) {
  return MakeHttpsSender(std::move(data_map), HttpsOptionsFromEnvironment());
}

}  // namespace typrosync

#include "transport/ftp_delivery.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

#include "common/file_helpers.h"
#include "common/locale_settings.h"
#include "transport/ftp_client.h"

namespace typrosync {
namespace {

constexpr char kSettingsFile[] = "agrovision.ini";
constexpr char kRemoteFolder[] = "/";
constexpr int kDefaultFtpPort = 21;

// Lines end at CR LF or at a CR alone; a lone LF stays part of its line.
std::vector<std::string> SplitSettingLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      line += text[i];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.push_back(std::move(line));
    line.clear();
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

// A bare name that stays inside the data folder.
bool IsSafeFileName(const std::string& name) {
  return !name.empty() && name.find_first_of("/\\") == std::string::npos &&
         name.find("..") == std::string::npos;
}

// The file on the server is uploaded from this copy, so it carries the same
// closing CR LF as bericht.xml does for Crop-R.
bool WriteLocalCopy(const std::string& path, const std::string& bericht) {
  std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  out << bericht << "\r\n";
  out.close();
  return !out.fail();
}

void RemoveLocalCopy(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(PathFromUtf8(path), ignored);
}

class FtpDelivery : public FtpSender {
 public:
  FtpDelivery(std::string data_map, UserInterface& ui, FtpDeliveryOptions options)
      : data_map_(WithFinalSlash(std::move(data_map))), ui_(ui), options_(options) {}

  FtpOutcome VerstuurViaFTP(const std::string& bericht, const std::string& bestandsnaam) override {
    if (!IsSafeFileName(bestandsnaam)) {
      ui_.ShowMessage("De bestandsnaam \"" + bestandsnaam +
                          "\" is ongeldig; het bericht is niet via FTP verzonden.",
                      MessageIcon::kWarning, gsApplicatieTitel);
      return FtpOutcome::kRefused;
    }
    cFTP ftp(ClientOptions());
    const FtpOutcome outcome = Deliver(ftp, bericht, bestandsnaam);
    ZandloperUit();
    ftp.CloseConnection();
    return outcome;
  }

 private:
  FtpClientOptions ClientOptions() const {
    FtpClientOptions options;
    options.port = options_.port;
    options.connect_timeout_ms = options_.connect_timeout_ms;
    options.response_timeout_ms = options_.response_timeout_ms;
    return options;
  }

  // The delivery up to its common end (closing and restoring the pointer).
  FtpOutcome Deliver(cFTP& ftp, const std::string& bericht, const std::string& bestandsnaam) {
    FtpSettings settings;
    std::string ini = data_map_ + kSettingsFile;
    if (BestaatBestand(ini)) settings = ReadFtpSettings(ini);
    if (!CheckSettings(settings)) return FtpOutcome::kRefused;
    ftp.SetModeActive();
    ftp.SetTransferBinary();
    ZandloperAan();
    const std::string lokaal = data_map_ + bestandsnaam;
    // A first connection only proves the server and login before any file is
    // written; a refusal here leaves no local copy behind.
    if (ftp.OpenConnection(settings.server, settings.login, settings.password)) {
      ZandloperUit();
      ftp.CloseConnection();
      if (!WriteLocalCopy(lokaal, bericht)) {
        Warn("Het bestand \"" + lokaal + "\" kon niet worden geschreven.");
        return FtpOutcome::kFailed;
      }
      ui_.ProcessPendingEvents();
    } else if (ReportFailure(ftp)) {
      return FtpOutcome::kFailed;
    }
    FtpOutcome outcome = FtpOutcome::kFailed;
    // The upload runs only when the copy really exists on disk; if the first
    // connection failed silently there is no copy and nothing is sent.
    std::string controle = lokaal;
    if (BestaatBestand(controle) &&
        ftp.OpenConnection(settings.server, settings.login, settings.password)) {
      ftp.SetFTPDirectory(kRemoteFolder);
      if (ReportFailure(ftp)) return FtpOutcome::kFailed;
      // Some servers refuse to overwrite, so an older file of the same name
      // is removed first.
      ftp.DeleteFTPFile(bestandsnaam);
      // A missing earlier file is no failure.
      ftp.ClearLastErrorMessage();
      ftp.SimpleFTPPutFile(lokaal, bestandsnaam);
      if (ReportFailure(ftp)) return FtpOutcome::kFailed;
      outcome = FtpOutcome::kUploaded;
    }
    // The copy is removed after success and failure alike: the message is
    // built again on the next run, so a stale copy would only mislead.
    RemoveLocalCopy(lokaal);
    return outcome;
  }

  // Shows the first missing setting; true when all four are there.
  bool CheckSettings(const FtpSettings& settings) {
    const std::pair<const std::string*, const char*> checks[] = {
        {&settings.server, "Er is geen FTP instelling aangetroffen."},
        {&settings.port, "Er is geen FTP poort instelling aangetroffen."},
        {&settings.login, "Er is geen FTP login instelling aangetroffen."},
        {&settings.password, "Er is geen FTP wachtwoord instelling aangetroffen."},
    };
    for (const auto& [value, message] : checks) {
      if (value->empty()) {
        ui_.ShowMessage(message, MessageIcon::kInformation, gsApplicatieTitel);
        return false;
      }
    }
    return true;
  }

  // Shows and clears the client's error text; false when there is none.
  bool ReportFailure(cFTP& ftp) {
    std::string text = ftp.GetLastErrorMessage();
    if (text.empty()) return false;
    Warn(text);
    ftp.ClearLastErrorMessage();
    return true;
  }

  void Warn(const std::string& text) {
    ui_.ShowMessage(text, MessageIcon::kWarning, gsApplicatieTitel);
  }
  void ZandloperAan() { ui_.SetBusyPointer(true); }
  void ZandloperUit() { ui_.SetBusyPointer(false); }

  std::string data_map_;
  UserInterface& ui_;
  FtpDeliveryOptions options_;
};

}  // namespace

FtpSettings ReadFtpSettings(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines = SplitSettingLines(text);
  // A short file gives empty settings, which CheckSettings then names.
  lines.resize(std::max<size_t>(lines.size(), 4));
  return {lines[0], lines[1], lines[2], lines[3]};
}

int FtpPortFromEnvironment() {
  const char* text = std::getenv("TYPROSYNC_FTP_PORT");
  if (text == nullptr) return kDefaultFtpPort;
  std::string_view value(text);
  int port = 0;
  auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), port);
  if (error != std::errc() || end != value.data() + value.size() || port < 1 || port > 65535) {
    return kDefaultFtpPort;
  }
  return port;
}

std::unique_ptr<FtpSender> MakeFtpSender(std::string data_map, UserInterface& ui) {
  FtpDeliveryOptions options;
  options.port = FtpPortFromEnvironment();
  return MakeFtpSender(std::move(data_map), ui, options);
}

std::unique_ptr<FtpSender> MakeFtpSender(std::string data_map, UserInterface& ui,
                                         FtpDeliveryOptions options) {
  return std::make_unique<FtpDelivery>(std::move(data_map), ui, options);
}

}  // namespace typrosync

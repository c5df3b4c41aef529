#pragma once
// Delivery of one finished AgroVision message by FTP upload into "/" of the
// server named in the data folder's agrovision.ini. Problems are shown in
// message boxes; the caller is told nothing.

#include <memory>
#include <string>

#include "common/user_interface.h"

namespace typrosync {

// The four positional lines of agrovision.ini (lines end at CR LF or CR only).
struct FtpSettings {
  std::string server;
  std::string port;  // only checked to be present
  std::string login;
  std::string password;
};

// Reads the settings file; a missing or unreadable file gives four empty values.
FtpSettings ReadFtpSettings(const std::string& path);

// The control port: 21, or TYPROSYNC_FTP_PORT when it holds a valid port.
int FtpPortFromEnvironment();

// How one upload ended; the problem itself was already shown in a message box.
enum class FtpOutcome {
  kUploaded,
  kRefused,  // not attempted: an unsafe file name or a missing setting
  kFailed,   // the connection or the transfer failed
};

class FtpSender {
 public:
  virtual ~FtpSender() = default;
  // Uploads `bericht` (plus CR LF) as `bestandsnaam` into the server's root,
  // binary, active mode, replacing an earlier file of that name.
  virtual FtpOutcome VerstuurViaFTP(const std::string& bericht, const std::string& bestandsnaam) = 0;
};

struct FtpDeliveryOptions {
  int port = 21;
  long connect_timeout_ms = 60000;
  long response_timeout_ms = 30000;
};

// `data_map` is the data folder; `ui` shows the boxes and the hourglass and
// must outlive the sender. The first form takes the port from the environment.
std::unique_ptr<FtpSender> MakeFtpSender(std::string data_map, UserInterface& ui);
std::unique_ptr<FtpSender> MakeFtpSender(std::string data_map, UserInterface& ui,
                                         FtpDeliveryOptions options);

}  // namespace typrosync

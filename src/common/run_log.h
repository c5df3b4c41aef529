#pragma once
// The run log: one text file per calendar month in the data folder,
// "typrosync-yyyy-mm.log", to which every call appends one line (two with an
// error). The file is opened and closed per call so that other processes can
// read it between calls. A line that cannot be written stops nothing; the
// first such line of a run gives one warning line on the warning stream.

#include <cstdint>
#include <iostream>
#include <optional>
#include <string>

#include "common/clock.h"
#include "common/user_interface.h"

namespace typrosync {

// The text trimmed of surrounding spaces, padded with spaces or cut to exactly
// `width` characters (UTF-8 characters). A negative width throws error 5.
std::string PadRechts(const std::string& text, int16_t width);

// The host name with the characters not allowed in file names removed; "-"
// when the platform has none or nothing is left.
std::string GetComputerNaam();
// The cleaning of GetComputerNaam applied to a name the platform gave
// (nullopt when the platform call failed).
std::string ComputerNameFrom(std::optional<std::string> platform_name);

class RunLog {
 public:
  // `clock`, `ui` and `warnings` must outlive the log.
  RunLog(Clock& clock, UserInterface& ui, std::string computer_name,
         std::ostream& warnings = std::cerr);

  // The data folder (gsDataMap), ending in "/"; empty means nothing is logged.
  void SetDataMap(std::string data_map);
  const std::string& DataMap() const { return data_map_; }

  // Appends `sTekst` as one line, or an empty line when it is empty, and an
  // error line when lFoutNummer is not 0. Lets the window process pending
  // events before and after. Never throws.
  void LogRegel(const std::string& sTekst, long lFoutNummer = 0,
                const std::string& sFoutTekst = "");

 private:
  std::string Line(const std::string& text);
  void WarnOnce(const std::string& file_name);

  Clock& clock_;
  UserInterface& ui_;
  std::string computer_name_;
  std::string data_map_;
  std::ostream& warnings_;
  bool warned_ = false;
};

}  // namespace typrosync

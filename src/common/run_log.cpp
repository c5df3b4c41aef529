#include "common/run_log.h"

#include <climits>
#include <fstream>
#include <utility>

#include "common/computer_name.h"
#include "common/date_format.h"
#include "common/file_helpers.h"
#include "common/utf8_text.h"
#include "common/vb_error.h"

namespace typrosync {

namespace {

// Every line names the administration program's section, whoever writes it;
// readers of the log filter on it.
constexpr char kSection[] = "BEHEER";
// The log is read on the administration's own machines: CR LF on every line.
constexpr char kLineEnd[] = "\r\n";

// Runs one step of the log; whatever it throws is dropped.
template <typename Step>
void IgnoringErrors(Step step) {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace

std::string PadRechts(const std::string& text, int16_t width) {
  if (width < 0) throw VbError(5, "Ongeldige procedureaanroep of ongeldig argument");
  // Widths count characters, not bytes, so accented names keep the columns.
  std::string out = Utf8Left(TrimSpaces(text), static_cast<size_t>(width));
  const size_t length = Utf8Length(out);
  out.append(static_cast<size_t>(width) - length, ' ');
  return out;
}

std::string ComputerNameFrom(std::optional<std::string> platform_name) {
  if (!platform_name) return "-";
  // The name becomes part of the log lines and may come from anywhere:
  // nothing past a NUL, nothing a file name could not hold.
  std::string name = platform_name->substr(0, platform_name->find('\0'));
  MaakBestandsnaamVeilig(name);
  return name.empty() ? "-" : name;
}

std::string GetComputerNaam() { return ComputerNameFrom(PlatformHostName()); }

RunLog::RunLog(Clock& clock, UserInterface& ui, std::string computer_name, std::ostream& warnings)
    : clock_(clock), ui_(ui), computer_name_(std::move(computer_name)), warnings_(warnings) {}

void RunLog::SetDataMap(std::string data_map) { data_map_ = std::move(data_map); }

std::string RunLog::Line(const std::string& text) {
  return FormatMoment(clock_.Now(), "dd-mmm-yyyy HH:mm:ss") + " : " +
         PadRechts(computer_name_, 15) + " : " + PadRechts(kSection, 15) + " : " + text;
}

void RunLog::LogRegel(const std::string& sTekst, long lFoutNummer, const std::string& sFoutTekst) {
  if (data_map_.empty()) return;
  std::string file_name;
  // The month is read per line, so a run across midnight at a month's end
  // continues in the new month's file.
  IgnoringErrors([&] {
    file_name = data_map_ + "typrosync-" + FormatMoment(clock_.Now(), "yyyy-mm") + ".log";
  });
  IgnoringErrors([&] { ui_.ProcessPendingEvents(); });
  IgnoringErrors([&] {
    // Opened per line and closed at once: the administration program and an
    // operator may read the file while the run goes on.
    std::ofstream file(PathFromUtf8(file_name), std::ios::binary | std::ios::app);
    if (!file) return WarnOnce(file_name);
    file << (sTekst.empty() ? std::string() : Line(sTekst)) << kLineEnd;
    if (lFoutNummer != 0) {
      file << Line(PadRechts("ERROR", 10) + ":  + Error        : " + std::to_string(lFoutNummer) +
                   " -> " + sFoutTekst)
           << kLineEnd;
    }
    file.close();
    if (file.fail()) WarnOnce(file_name);
  });
  IgnoringErrors([&] { ui_.ProcessPendingEvents(); });
}

// Unattended, a log that stays empty would go unnoticed; once per run is
// enough to be seen without flooding the journal.
void RunLog::WarnOnce(const std::string& file_name) {
  if (warned_) return;
  warned_ = true;
  warnings_ << "typrosync: waarschuwing: het logbestand '" << file_name
            << "' kan niet worden geschreven; de run gaat door" << std::endl;
}

}  // namespace typrosync

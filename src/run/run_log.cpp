#include "run/run_log.h"

#include <utility>

namespace typrosync {

std::string PadRechts(const std::string& text, int16_t) { return text; }
std::string GetComputerNaam() { return "-"; }
std::string ComputerNaamUit(std::optional<std::string>) { return "-"; }

RunLog::RunLog(Clock& clock, UserInterface& ui, std::string computer_name)
    : clock_(clock), ui_(ui), computer_name_(std::move(computer_name)) {}

void RunLog::SetDataMap(std::string data_map) { data_map_ = std::move(data_map); }

void RunLog::LogRegel(const std::string&, long, const std::string&) {}

std::string RunLog::Line(const std::string& text) { return text; }

}  // namespace typrosync

#include "run/end_report.h"

#include "common/date_format.h"
#include "run/program_arguments.h"

namespace typrosync {

void ReportRunEnd(RunSequence& run, const std::string& data_map, Clock& clock,
                  ConsoleOutput& output) {
  if (!run.open_failure().empty()) {
    output.Report(Priority::kError, "typrosync: administratie niet geopend: " + run.open_failure());
  }
  if (data_map.empty()) output.Err() << kUsage;
  if (run.outcome() != RunOutcome::kAborted) return;
  // The month of the moment of ending: the month whose log got the error line.
  output.Report(Priority::kError, "typrosync: synchronisatie afgebroken; de fout staat in " +
                                      run.log().DataMap() + "typrosync-" +
                                      FormatMoment(clock.Now(), "yyyy-mm") + ".log");
}

}  // namespace typrosync

#pragma once
// The headless view of an unattended run, short enough to be read in a mail
// from cron: status changes and progress in steps of 10 % as plain lines on
// `out`, each customer's delivery lines as a table only when verbose, and
// the run's summary line at the end; message boxes on `err`, answered at
// once. Qt-free.

#include <ostream>
#include <string>

#include "common/run_summary.h"
#include "run/run_view.h"

namespace typrosync {

class ConsoleView : public RunView {
 public:
  // Both streams must outlive the view. With `journal` each line of a message
  // box carries its syslog priority.
  ConsoleView(std::ostream& out, std::ostream& err, bool verbose = false, bool journal = false)
      : out_(out), err_(err), verbose_(verbose), journal_(journal) {}

  // Writes the status without its detail in parentheses ("Lezen van orders
  // ( 5001 )" is "Lezen van orders"), and only when that differs from the
  // last status written.
  void SetStatus(const std::string& text) override;
  // Writes a line only when the percentage enters another step of 10.
  void SetProgress(double percent) override;
  // Only when verbose; nothing for an empty list.
  void ShowDeliveryLines(const DeliveryLines& lines) override;
  bool ShowsDeliveryLines() const override { return verbose_; }
  void SetCaption(const std::string& caption) override;
  void ProcessPendingEvents() override {}
  void SetBusyPointer(bool) override {}
  void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override;
  // The closing line of the run.
  void ShowSummary(const RunSummary& summary, double seconds);

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool verbose_;
  bool journal_;
  std::string status_;
  int progress_ = -1;
};

// The visible columns of `lines` as a text table: titles, then one row per
// line, each column as wide as its widest cell and aligned as in the window.
std::string DeliveryLinesTable(const DeliveryLines& lines);

}  // namespace typrosync

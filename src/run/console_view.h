#pragma once
// The headless view of an unattended run: status changes and progress as
// plain lines on `out`, each customer's delivery lines as a table, message
// boxes on `err`, answered at once. Qt-free.

#include <ostream>
#include <string>

#include "run/run_view.h"

namespace typrosync {

class ConsoleView : public RunView {
 public:
  // Both streams must outlive the view. With `journal` each line of a message
  // box carries its syslog priority.
  ConsoleView(std::ostream& out, std::ostream& err, bool journal = false)
      : out_(out), err_(err), journal_(journal) {}

  void SetStatus(const std::string& text) override;
  // Writes a line only when the whole percentage changes.
  void SetProgress(double percent) override;
  // Nothing for an empty list.
  void ShowDeliveryLines(const DeliveryLines& lines) override;
  void SetCaption(const std::string& caption) override;
  void ProcessPendingEvents() override {}
  void SetBusyPointer(bool) override {}
  void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override;

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool journal_;
  std::string status_;
  int progress_ = -1;
};

// The visible columns of `lines` as a text table: titles, then one row per
// line, each column as wide as its widest cell and aligned as in the window.
std::string DeliveryLinesTable(const DeliveryLines& lines);

}  // namespace typrosync

#include "run/console_view.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "run/console_output.h"
#include "common/utf8_text.h"
#include "run/delivery_columns.h"

namespace typrosync {
namespace {

// Widths count characters, so accented names keep the columns straight.
std::string Align(const std::string& text, size_t width, Alignment alignment) {
  const std::string pad(width - Utf8Length(text), ' ');
  return alignment == Alignment::kRight ? pad + text : text + pad;
}

// The columns the window shows; the hidden order number stays out here too.
std::vector<size_t> VisibleColumns() {
  std::vector<size_t> columns;
  for (size_t i = 0; i < kDeliveryColumns.size(); ++i) {
    if (kDeliveryColumns[i].width_twips > 0) columns.push_back(i);
  }
  return columns;
}

// One row, two spaces between columns, without trailing spaces: a log
// collector keeps the lines short and diffs stay clean.
std::string TableRow(const std::vector<size_t>& columns, const std::vector<size_t>& widths,
                     const auto& cell) {
  std::string row;
  for (size_t k = 0; k < columns.size(); ++k) {
    if (k > 0) row += "  ";
    row += Align(cell(columns[k]), widths[k], kDeliveryColumns[columns[k]].alignment);
  }
  const size_t end = row.find_last_not_of(' ');
  row.erase(end == std::string::npos ? 0 : end + 1);
  return row + "\n";
}

}  // namespace

// Each column is as wide as its widest cell or title, so the table reads in
// a terminal whatever the window's twips widths would be.
std::string DeliveryLinesTable(const DeliveryLines& lines) {
  const std::vector<size_t> columns = VisibleColumns();
  std::vector<size_t> widths;
  for (size_t column : columns) {
    size_t width = Utf8Length(kDeliveryColumns[column].title);
    for (const DeliveryLine& line : lines) width = std::max(width, Utf8Length(line.columns[column]));
    widths.push_back(width);
  }
  std::string table = TableRow(
      columns, widths, [](size_t column) { return std::string(kDeliveryColumns[column].title); });
  for (const DeliveryLine& line : lines) {
    table += TableRow(columns, widths, [&line](size_t column) { return line.columns[column]; });
  }
  return table;
}

void ConsoleView::SetStatus(const std::string& text) {
  // The window's status names the order or customer in hand "( 5001 )"; the
  // console shows each step once, not a line per order.
  const std::string head = text.substr(0, text.find(" ( "));
  if (head == status_) return;
  status_ = head;
  out_ << "Status: " << head << "\n" << std::flush;
}

void ConsoleView::SetProgress(double percent) {
  // Every ten percent: a log of an unattended run stays a few lines long.
  const int step = static_cast<int>(std::floor(percent / 10)) * 10;
  if (step == progress_) return;
  progress_ = step;
  out_ << "Voortgang: " << step << " %\n";
}

void ConsoleView::ShowDeliveryLines(const DeliveryLines& lines) {
  if (!verbose_ || lines.empty()) return;
  out_ << DeliveryLinesTable(lines) << std::flush;
}

void ConsoleView::SetCaption(const std::string& caption) { out_ << "Venster: " << caption << "\n"; }

void ConsoleView::ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) {
  err_ << WithPriority(title + ": " + text, BoxPriority(icon), journal_) << std::flush;
}

void ConsoleView::ShowSummary(const RunSummary& summary, double seconds) {
  out_ << SummaryLine(summary, seconds) << "\n" << std::flush;
}

}  // namespace typrosync

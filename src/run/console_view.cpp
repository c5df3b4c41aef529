#include "run/console_view.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/utf8_text.h"
#include "run/delivery_columns.h"

namespace typrosync {
namespace {


std::string Align(const std::string& text, size_t width, Alignment alignment) {
  const std::string pad(width - Utf8Length(text), ' ');
  return alignment == Alignment::kRight ? pad + text : text + pad;
}

std::vector<size_t> ZichtbareKolommen() {
  std::vector<size_t> kolommen;
  for (size_t i = 0; i < kDeliveryColumns.size(); ++i) {
    if (kDeliveryColumns[i].width_twips > 0) kolommen.push_back(i);
  }
  return kolommen;
}

std::string TabelRegel(const std::vector<size_t>& kolommen, const std::vector<size_t>& breedtes,
                       const auto& cel) {
  std::string regel;
  for (size_t k = 0; k < kolommen.size(); ++k) {
    if (k > 0) regel += "  ";
    regel += Align(cel(kolommen[k]), breedtes[k], kDeliveryColumns[kolommen[k]].alignment);
  }
  const size_t einde = regel.find_last_not_of(' ');
  regel.erase(einde == std::string::npos ? 0 : einde + 1);
  return regel + "\n";
}

}  // namespace

std::string DeliveryLinesTable(const DeliveryLines& lines) {
  const std::vector<size_t> kolommen = ZichtbareKolommen();
  std::vector<size_t> breedtes;
  for (size_t kolom : kolommen) {
    size_t breedte = Utf8Length(kDeliveryColumns[kolom].title);
    for (const DeliveryLine& line : lines)
      breedte = std::max(breedte, Utf8Length(line.columns[kolom]));
    breedtes.push_back(breedte);
  }
  std::string tabel = TabelRegel(
      kolommen, breedtes, [](size_t kolom) { return std::string(kDeliveryColumns[kolom].title); });
  for (const DeliveryLine& line : lines) {
    tabel += TabelRegel(kolommen, breedtes, [&line](size_t kolom) { return line.columns[kolom]; });
  }
  return tabel;
}

void ConsoleView::SetStatus(const std::string& text) {
  if (text == status_) return;
  status_ = text;
  out_ << "Status: " << text << "\n" << std::flush;
}

void ConsoleView::SetProgress(double percent) {
  const int whole = static_cast<int>(std::floor(percent));
  if (whole == progress_) return;
  progress_ = whole;
  out_ << "Voortgang: " << whole << " %\n";
}

void ConsoleView::ShowDeliveryLines(const DeliveryLines& lines) {
  if (lines.empty()) return;
  out_ << DeliveryLinesTable(lines) << std::flush;
}

void ConsoleView::SetCaption(const std::string& caption) { out_ << "Venster: " << caption << "\n"; }

void ConsoleView::ShowMessage(const std::string& text, MessageIcon, const std::string& title) {
  err_ << title << ": " << text << "\n" << std::flush;
}

}  // namespace typrosync

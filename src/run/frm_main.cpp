#include "run/frm_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QTreeWidget>
#include <cmath>

#include "run/delivery_columns.h"

namespace typrosync {
namespace {

constexpr int kHeaderHeight = 750;  // twips
constexpr int kMargin = 120;         // twips
constexpr int kSaveDistance = 900;   // imgSave keeps this far from the right edge

QFont MakeFont(const char* family, double points, QFont::Weight weight = QFont::Normal) {
  QFont font(family);
  // The twips layout was drawn for these families; where one is missing a
  // sans-serif of the same size keeps the labels within their places.
  font.setStyleHint(QFont::SansSerif);  // a sans-serif where the family is missing
  font.setPointSizeF(points);
  font.setWeight(weight);
  return font;
}

// A small disk symbol for the saving indicator.
QPixmap SaveSymbol(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(230, 236, 245));
  painter.setPen(QPen(QColor(40, 60, 90), 1));
  painter.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), 2, 2);
  painter.setBrush(QColor(40, 60, 90));
  painter.drawRect(QRectF(size * 0.25, 1, size * 0.5, size * 0.35));
  return pixmap;
}

Qt::Alignment ColumnAlignment(int column) {
  const Alignment alignment = kDeliveryColumns[static_cast<size_t>(column)].alignment;
  return (alignment == Alignment::kRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kCritical:
      return QMessageBox::Critical;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kWarning:
      return QMessageBox::Warning;
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

FrmMain::FrmMain(RunView* echo) : echo_(echo) {
  setFont(MakeFont("Tahoma", 8.25));
  BuildHeader();
  imgBack_ = new QLabel(this);
  label2_ = new QLabel(QStringLiteral("Status:"), this);
  lblStatus_ = new QLabel(this);
  for (QLabel* label : {label2_, lblStatus_}) label->setFont(MakeFont("Tahoma", 8.25));
  progressBar_ = new QProgressBar(this);
  progressBar_->setRange(0, 100);
  progressBar_->setTextVisible(false);
  BuildList();
  // Each step runs from a single-shot timer, so the event loop paints the
  // window (and its status) between opening the administration and syncing.
  for (QTimer* timer : {&tmrStartup_, &tmrSync_}) {
    timer->setInterval(100);
    timer->setSingleShot(true);
  }
  tmrSave_.setInterval(500);
  connect(&tmrStartup_, &QTimer::timeout, this, &FrmMain::tmrStartup_Timer);
  connect(&tmrSync_, &QTimer::timeout, this, &FrmMain::tmrSync_Timer);
  // Twips through the screen's dpi: on a 96 dpi screen 15 twips make a pixel.
  resize(Twips(15000), Twips(8000));
}

void FrmMain::BuildHeader() {
  pictHeader_ = new QFrame(this);
  pictHeader_->setAutoFillBackground(true);
  QPalette palette = pictHeader_->palette();
  palette.setColor(QPalette::Window, QColor(31, 58, 96));
  palette.setColor(QPalette::WindowText, Qt::white);
  pictHeader_->setPalette(palette);
  lblHeaderCaption_ = new QLabel(QStringLiteral("TallyraPro - AutoSync"), pictHeader_);
  lblHeaderCaption_->setFont(MakeFont("Segoe UI Semibold", 12, QFont::DemiBold));
  imgSave_ = new QLabel(pictHeader_);
  imgSave_->setPixmap(SaveSymbol(Twips(360)));
  imgSave_->resize(Twips(360), Twips(360));
  label1_ = new QLabel(QStringLiteral("Gegevens opslaan..."), pictHeader_);
  label1_->setFont(MakeFont("Segoe UI", 9));
  label1_->adjustSize();
}

// A hidden column keeps its data: the order number travels with each row
// to the stamping without being shown.
void FrmMain::BuildList() {
  lvwLeveringen_ = new QTreeWidget(this);
  lvwLeveringen_->setRootIsDecorated(false);
  lvwLeveringen_->setUniformRowHeights(true);
  lvwLeveringen_->setColumnCount(kDeliveryColumnCount);
  QTreeWidgetItem* header = lvwLeveringen_->headerItem();
  for (int i = 0; i < kDeliveryColumnCount; ++i) {
    const DeliveryColumn& column = kDeliveryColumns[static_cast<size_t>(i)];
    header->setText(i, QString::fromUtf8(column.title));
    header->setTextAlignment(i, ColumnAlignment(i));
    lvwLeveringen_->setColumnWidth(i, Twips(column.width_twips));
    // A width of 0 hides the column, as a zero-width column of a list does.
    lvwLeveringen_->setColumnHidden(i, column.width_twips == 0);
  }
  lvwLeveringen_->header()->setStretchLastSection(false);
}

// Measures are designed in twips; the screen's own dpi turns them into pixels.
int FrmMain::Twips(int twips) const { return TwipsToPixelsAt(twips, logicalDpiX()); }

void FrmMain::Load(RunSequence& run, const std::string& argument) {
  run_ = &run;
  run.Load(argument);  // stamps, data folder, locale, status and progress
  imgBack_->hide();
  tmrStartup_.start();
}

// The run starts from the event loop, so the window is on screen before the
// administration is opened and the first status is seen.
void FrmMain::tmrStartup_Timer() {
  tmrStartup_.stop();
  if (!run_->Startup()) {
    close();
    return;
  }
  tmrSync_.start();
}

void FrmMain::tmrSync_Timer() {
  tmrSync_.stop();
  run_->Sync();
  close();
}

void FrmMain::closeEvent(QCloseEvent* event) {
  if (run_ != nullptr && !run_->MayUnload()) {
    event->ignore();
    return;
  }
  event->accept();
  // Message windows still open would keep the application alive unattended.
  QCoreApplication::processEvents();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window != this) window->close();
  }
}

void FrmMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The header spans the window and imgSave keeps its distance from the
  // right edge; everything else follows the list below the status line.
  const int w = width();
  const int header = Twips(kHeaderHeight);
  const int margin = Twips(kMargin);
  pictHeader_->setGeometry(0, 0, w, header);
  lblHeaderCaption_->setGeometry(margin * 2, 0, w / 2, header);
  imgSave_->move(w - Twips(kSaveDistance) - imgSave_->width(), (header - imgSave_->height()) / 2);
  label1_->move(imgSave_->x() - label1_->width() - margin, (header - label1_->height()) / 2);
  const int line = Twips(300);
  label2_->setGeometry(margin, header + margin, Twips(700), line);
  lblStatus_->setGeometry(margin + Twips(750), header + margin, w - Twips(900), line);
  progressBar_->setGeometry(margin, header + margin * 2 + line, w - margin * 2, Twips(240));
  const int list_top = header + margin * 3 + line + Twips(240);
  lvwLeveringen_->setGeometry(margin, list_top, w - margin * 2, std::max(0, height() - list_top - margin));
}

void FrmMain::SetStatus(const std::string& text) {
  lblStatus_->setText(QString::fromStdString(text));
  if (echo_) echo_->SetStatus(text);
}

void FrmMain::SetProgress(double percent) {
  // Cut, not rounded: the bar shows full only when the work is done.
  progressBar_->setValue(static_cast<int>(percent));
  if (echo_) echo_->SetProgress(percent);
}

void FrmMain::ShowDeliveryLines(const DeliveryLines& lines) {
  // Each call shows one customer's lines: the list is replaced, not extended.
  lvwLeveringen_->clear();
  QList<QTreeWidgetItem*> items;
  for (const DeliveryLine& line : lines) {
    auto* item = new QTreeWidgetItem();
    for (int i = 0; i < kDeliveryColumnCount; ++i) {
      item->setText(i, QString::fromStdString(line.column(i + 1)));
      item->setTextAlignment(i, ColumnAlignment(i));
    }
    // The row's key rides along unseen: marking finds the order line by it.
    item->setCheckState(0, line.checked ? Qt::Checked : Qt::Unchecked);
    item->setData(0, Qt::UserRole, QString::fromStdString(line.tag));
    items.append(item);
  }
  lvwLeveringen_->addTopLevelItems(items);
  if (echo_) echo_->ShowDeliveryLines(lines);
}

void FrmMain::SetCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
  if (echo_) echo_->SetCaption(caption);
}

void FrmMain::ProcessPendingEvents() { QCoreApplication::processEvents(); }

// Override cursors stack in Qt: every busy call is paired with one restore.
void FrmMain::SetBusyPointer(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void FrmMain::ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) {
  if (echo_) {  // nobody to press OK: the console view answers at once
    echo_->ShowMessage(text, icon, title);
    return;
  }
  QMessageBox box(BoxIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Ok, this);
  box.exec();
}

}  // namespace typrosync

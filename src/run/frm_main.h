#pragma once
// frmMain: the one window of the run. A header, the status line, the
// progress bar and the delivery lines of the customer being handled; two
// one-shot timers drive the run sequence. Without a visible window every
// view call is also passed to `echo` (the console view).

#include <QTimer>
#include <QWidget>

#include "run/run_sequence.h"
#include "run/run_view.h"
#include "ui/twips.h"

class QFrame;
class QLabel;
class QProgressBar;
class QTreeWidget;

namespace typrosync {

class FrmMain : public QWidget, public RunView {
  Q_OBJECT

 public:
  explicit FrmMain(RunView* echo = nullptr);

  // Form_Load: `run` must outlive the window; starts tmrStartup.
  void Load(RunSequence& run, const std::string& argument);

  void SetStatus(const std::string& text) override;
  void SetProgress(double percent) override;
  void ShowDeliveryLines(const DeliveryLines& lines) override;
  void SetCaption(const std::string& caption) override;
  void ProcessPendingEvents() override;
  void SetBusyPointer(bool busy) override;
  void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override;

  QTreeWidget& lvwLeveringen() { return *lvwLeveringen_; }
  QLabel& lblStatus() { return *lblStatus_; }
  QProgressBar& progressBar() { return *progressBar_; }

 protected:
  void closeEvent(QCloseEvent* event) override;    // Form_Unload
  void resizeEvent(QResizeEvent* event) override;  // Form_Resize

 private slots:
  void tmrStartup_Timer();
  void tmrSync_Timer();

 private:
  void BuildHeader();
  void BuildList();
  int Twips(int twips) const;

  RunView* echo_;
  RunSequence* run_ = nullptr;
  QFrame* pictHeader_;
  QLabel* lblHeaderCaption_;
  QLabel* imgSave_;
  QLabel* label1_;
  QLabel* imgBack_;
  QLabel* label2_;
  QLabel* lblStatus_;
  QProgressBar* progressBar_;
  QTreeWidget* lvwLeveringen_;
  QTimer tmrStartup_;
  QTimer tmrSync_;
  QTimer tmrSave_;  // part of the window, never started
};

}  // namespace typrosync

#include "ui/c_message.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <memory>

#include "ui/application_info.h"
#include "ui/message_buttons.h"

namespace typrosync {

namespace {

void AlignPrompt(FMessage& window, bool right) {
  window.lblMessage()->setAlignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
}

// Keeps the application's help file as it was, however the window ends.
class HelpFileScope {
 public:
  explicit HelpFileScope(const QString& help_file) : saved_(AppHelpFile()) {
    SetAppHelpFile(help_file);
  }
  ~HelpFileScope() { SetAppHelpFile(saved_); }
  HelpFileScope(const HelpFileScope&) = delete;
  HelpFileScope& operator=(const HelpFileScope&) = delete;

 private:
  QString saved_;
};

}  // namespace

long CMessage::MsgBox(const QString& Prompt, long Buttons, const QString& Title,
                      const QString& Helpfile, long Context) {
  // The call holds its own window, so a nested call cannot pull it from under it.
  const auto owned = std::make_unique<FMessage>();
  FMessage& window = *owned;
  frm_message_ = owned.get();
  connect(&window, &FMessage::ButtonClicked, this, &CMessage::m_frmMessage_ButtonClicked);
  prompt_ = Prompt;
  window.MessageTitle(Title);
  // One flag word carries buttons, icon, default button and options, as the
  // platform's message box takes them; each part is read out separately.
  SetHelpContextId(&window, Context);

  const ButtonSet set = ButtonSetFor(Buttons);
  window.ButtonText(set.captions);
  window.ButtonsUnload(set.closes);
  window.MessageIcon(IconFor(Buttons));
  window.ButtonDefault(DefaultButtonFor(Buttons));
  AlignPrompt(window, (Buttons & kRightAlignFlag) != 0);
  window.TopMost((Buttons & kTopMostFlag) != 0);
  {
    HelpFileScope help(Helpfile);
    window.ShowMessage(Prompt);
  }
  const long result = ResultFor(set, window.SelectedButton());
  frm_message_ = nullptr;
  return result;
}

void CMessage::DisplayError(const QString& Prompt, bool HelpButton, long Context) {
  const auto owned = std::make_unique<FMessage>();
  FMessage& window = *owned;
  frm_error_ = owned.get();
  connect(&window, &FMessage::ButtonClicked, this, &CMessage::m_frmError_ButtonClicked);
  prompt_ = Prompt;
  const QString product = AppProductName();
  window.MessageTitle(product.isEmpty() ? AppTitle() : product);
  SetHelpContextId(&window, Context);

  // "Kopie" copies the text for a support call and leaves the box open.
  std::vector<QString> captions{"Sluiten", "Kopie"};
  std::vector<bool> closes{true, false};
  if (HelpButton) {
    captions.emplace_back("Help");
    closes.push_back(false);
  }
  window.ButtonText(captions);
  window.ButtonsUnload(closes);
  window.MessageIcon(kIconCritical);
  window.ButtonDefault(0);
  AlignPrompt(window, false);
  // An error box must not hide behind another window: nobody would close it.
  window.TopMost(true);
  window.ShowMessage(Prompt);
  frm_error_ = nullptr;
}

void CMessage::m_frmMessage_ButtonClicked(long /*lButton*/) {
  // The only button of a message box that leaves it open is "Help".
  SendF1ToActiveWindow();
}

void CMessage::m_frmError_ButtonClicked(long lButton) {
  if (lButton == 1) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(prompt_);
  } else if (lButton == 2) {
    SendF1ToActiveWindow();
  }
}

}  // namespace typrosync

#pragma once
// CMessage: the system's own Dutch message box and error window, called as the
// platform's standard message box is. Each call builds one FMessage, shows it
// modally and releases it when a closing button has been clicked.

#include <QObject>
#include <QString>

#include "ui/f_message.h"

namespace typrosync {

class CMessage : public QObject {
  Q_OBJECT

 public:
  CMessage() = default;

  // Shows `Prompt` with the button set, icon, default button, alignment and
  // top-most flags of `Buttons`; returns the result code of the closing button
  // (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No; 0 without mapping).
  // The application's help file is `Helpfile` while the window is open.
  long MsgBox(const QString& Prompt, long Buttons = 0, const QString& Title = QString(),
              const QString& Helpfile = QString(), long Context = 0);

  // An error window titled with the product name: "Sluiten" closes it, "Kopie"
  // copies the prompt to the clipboard, "Help" (when asked for) sends F1.
  void DisplayError(const QString& Prompt, bool HelpButton = false, long Context = 0);

  // The window of the call in progress (nullptr outside a call).
  FMessage* m_frmMessage() const { return frm_message_; }
  FMessage* m_frmError() const { return frm_error_; }
  // The prompt of the last call.
  const QString& m_sPrompt() const { return prompt_; }

 private slots:
  void m_frmMessage_ButtonClicked(long lButton);
  void m_frmError_ButtonClicked(long lButton);

 private:
  FMessage* frm_message_ = nullptr;  // owned by the call in progress
  FMessage* frm_error_ = nullptr;
  QString prompt_;
};

}  // namespace typrosync

#pragma once
// What the core asks of whoever shows the run to a person: a window, or the
// headless console view of an unattended run. Kept small so the core stays
// free of any toolkit.

#include <string>

namespace typrosync {

enum class MessageIcon { kNone, kCritical, kQuestion, kWarning, kInformation };

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Lets pending window events be processed (repaint, input).
  virtual void ProcessPendingEvents() = 0;
  // The application-wide hourglass pointer.
  virtual void SetBusyPointer(bool busy) = 0;
  // A modal message with an OK button. Headless: written to standard error
  // and answered at once.
  virtual void ShowMessage(const std::string& text, MessageIcon icon,
                           const std::string& title) = 0;
};

}  // namespace typrosync

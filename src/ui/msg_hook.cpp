#include "ui/msg_hook.h"

#include "ui/mod_msg_hook_proc.h"

namespace typrosync {

MsgHook::~MsgHook() {
  if (slot_ != 0) UnhookWindow(slot_);
}

void MsgHook::Hook(QWidget* hWnd, const std::vector<long>& uMsg) {
  if (slot_ != 0) {
    UnhookWindow(slot_);
    slot_ = 0;
  }
  slot_ = HookWindow(*this, hWnd, uMsg);
}

void MsgHook::Unhook() {
  UnhookWindow(slot_);
  slot_ = 0;
}

void MsgHook::RaiseBefore(long& uMsg, long& wParam, long& lParam, long& retVal) {
  emit Before(uMsg, wParam, lParam, retVal);
}

void MsgHook::RaiseAfter(long& uMsg, long& wParam, long& lParam) {
  emit After(uMsg, wParam, lParam);
}

}  // namespace typrosync

#include <windows.h>

#include <atomic>

#include "run/stop_signal.h"

// The console's control events take the place of the signals: Ctrl+C and
// Ctrl+Break, the console window closed, logoff and shutdown. The handler
// only notes the event and answers that it was handled; the run stops
// before its next customer, after the message in flight.

namespace typrosync {
namespace {

// The one process-level object the handler (on its own thread) can reach:
// the first event plus one, 0 while none arrived (CTRL_C_EVENT is 0).
std::atomic<int> received_event{0};
static_assert(std::atomic<int>::is_always_lock_free);

BOOL WINAPI NoteStopEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT: {
      int none = 0;
      received_event.compare_exchange_strong(none, static_cast<int>(event) + 1);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

const char* EventName(int noted) {
  switch (noted - 1) {
    case CTRL_C_EVENT:
      return "CTRL_C_EVENT";
    case CTRL_BREAK_EVENT:
      return "CTRL_BREAK_EVENT";
    case CTRL_CLOSE_EVENT:
      return "CTRL_CLOSE_EVENT";
    case CTRL_LOGOFF_EVENT:
      return "CTRL_LOGOFF_EVENT";
    case CTRL_SHUTDOWN_EVENT:
      return "CTRL_SHUTDOWN_EVENT";
    default:
      return "?";
  }
}

class ConsoleStopRequest final : public StopRequest {
 public:
  bool StopRequested() const override { return received_event.load() != 0; }
  std::string Reason() const override {
    return std::string("Gestopt door signaal ") + EventName(received_event.load());
  }
};

}  // namespace

std::unique_ptr<StopRequest> InstallStopSignals() {
  SetConsoleCtrlHandler(NoteStopEvent, TRUE);
  return std::make_unique<ConsoleStopRequest>();
}

}  // namespace typrosync

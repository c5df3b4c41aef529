#include "run/stop_signal.h"

#include <signal.h>

#include <atomic>

namespace typrosync {
namespace {

// The signals a scheduler, a terminal or a closed session send to end a run
// politely; SIGKILL cannot be caught and is covered by the stamps being
// written per customer.
constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The one process-level object a signal handler can reach: the number of
// the first stop signal, 0 while none arrived.
std::atomic<int> received_signal{0};
static_assert(std::atomic<int>::is_always_lock_free);

void NoteStopSignal(int number) {
  // The first signal names the reason; later ones do not overwrite it.
  int none = 0;
  received_signal.compare_exchange_strong(none, number);
}

const char* SignalName(int number) {
  switch (number) {
    case SIGTERM:
      return "SIGTERM";
    case SIGINT:
      return "SIGINT";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "?";
  }
}

class SignalStopRequest final : public StopRequest {
 public:
  bool StopRequested() const override { return received_signal.load() != 0; }
  std::string Reason() const override {
    return std::string("Gestopt door signaal ") + SignalName(received_signal.load());
  }
};

}  // namespace

std::unique_ptr<StopRequest> InstallStopSignals() {
  struct sigaction action = {};
  action.sa_handler = NoteStopSignal;
  sigemptyset(&action.sa_mask);
  // Interrupted reads and writes carry on; the run looks at the flag itself.
  action.sa_flags = SA_RESTART;
  for (int number : kStopSignals) sigaction(number, &action, nullptr);
  return std::make_unique<SignalStopRequest>();
}

}  // namespace typrosync

#pragma once
// The run sequence of the main window without the window: load, the start-up
// step (open the administration) and the sync step (read, send, stamp), each
// called once by the window's one-shot timers (or directly when headless).

#include <functional>
#include <memory>
#include <string>

#include "common/clock.h"
#include "common/locale_settings.h"
#include "common/run_state.h"
#include "common/stop_request.h"
#include "database/administratie.h"
#include "database/engine.h"
#include "common/run_log.h"
#include "orders/delivery.h"
#include "orders/message_builders.h"
#include "run/run_lock.h"
#include "transport/ftp_delivery.h"
#include "transport/https_delivery.h"
#include "run/run_outcome.h"
#include "run/run_view.h"

namespace typrosync {

// The services main() builds once; they must outlive the sequence. The run
// delivers its messages through the two senders; `builders`, when set, takes
// the customers instead (a test that records them). Without either the run
// ends on error 91 once it has a customer to send.
struct RunServices {
  Clock& clock;
  DatabaseEngine& engine;
  std::string computer_name;
  HttpsSender* https = nullptr;
  FtpSender* ftp = nullptr;
  MessageBuilders* builders = nullptr;
  // Told of every Crop-R reply; null: nobody is.
  CropRObserver* cropr_observer = nullptr;
  // Asked before each customer; null: the run is never stopped early.
  const StopRequest* stop = nullptr;
};

class RunSequence {
 public:
  // `view` must outlive the sequence.
  RunSequence(RunServices services, RunView& view);
  RunSequence(const RunSequence&) = delete;
  RunSequence& operator=(const RunSequence&) = delete;

  // Form_Load: the run stamp, the data folder (a final "/" added), the locale
  // separators, status "Geen activiteit." and progress 0.
  void Load(const std::string& argument);
  // tmrStartup_Timer: takes the run lock, opens the administration and sets
  // the caption. False when another run holds the lock (outcome
  // kOtherRunBusy, one line on standard error), when the administration
  // could not be opened (nothing is logged) or its name could not be read
  // (logged as an ending error); the window then unloads.
  bool Startup();
  // tmrSync_Timer: the whole run, busy meanwhile; the delivery over the
  // senders is made at its start. An error that ends the run is logged as one error
  // line; the outcome tells how it went.
  void Sync();

  // Form_Unload's test: closing is refused while the run is busy.
  bool MayUnload() const { return !state_.bBezig; }
  RunOutcome outcome() const { return outcome_; }
  // Why the administration did not open; empty when it did or was not tried.
  const std::string& open_failure() const { return open_failure_; }
  RunState& state() { return state_; }
  RunLog& log() { return log_; }

 private:
  // Runs `step`; an error that escapes it is logged and ends the run (false).
  bool Guarded(const std::function<void()>& step);
  void LogAborted(long number, const std::string& description);
  bool TakeRunLock();
  void ShowAdministrationName();
  void RunOrders();
  MessageBuilders& Builders();

  RunServices services_;
  RunView& view_;
  RunState state_;
  Separators separators_;  // read from the locale at load; the amount texts pin them
  RunLog log_;
  std::unique_ptr<RunLock> run_lock_;  // held until the process ends
  std::unique_ptr<Administratie> admin_;
  std::unique_ptr<MessageBuilders> delivery_;
  RunOutcome outcome_ = RunOutcome::kNotOpened;
  std::string open_failure_;
};

// Load, Startup and Sync in a row, as the timers would run them.
RunOutcome RunToEnd(RunSequence& run, const std::string& argument);

}  // namespace typrosync

#include "run/run_sequence.h"

#include <iostream>
#include <new>

#include "common/date_format.h"
#include "common/file_helpers.h"
#include "common/locale_settings.h"
#include "common/vb_error.h"
#include "orders/delivery.h"
#include "orders/pending_orders.h"

namespace typrosync {
namespace {

// A fault of the program itself (not a VbError) reaching the run.
constexpr long kInternalErrorNumber = 51;
constexpr const char* kInternalErrorText = "Interne fout";

// The fixed sender identity of every message.
constexpr std::string_view kSender = "KORVELDAM";

std::string SyncLine(const std::string& label, const std::string& value) {
  return PadRechts("SYNC", 10) + label + value;
}

}  // namespace

RunSequence::RunSequence(RunServices services, RunView& view)
    : services_(std::move(services)),
      view_(view),
      log_(services_.clock, view, services_.computer_name) {}

void RunSequence::Load(const std::string& argument) {
  state_.sRunId = FormatMoment(services_.clock.Now(), "yyyymmdd");
  state_.sRunId += '_';
  state_.sRunId += FormatMoment(services_.clock.Now(), "hhmmss");
  state_.sDataMapArg = WithFinalSlash(argument);
  state_.sZenderId = std::string(kSender);
  state_.sLeveranciersNummer = std::string(kSender);
  separators_ = ReadLocaleSeparators();
  view_.SetProgress(0);
  view_.SetStatus("Geen activiteit.");
}

bool RunSequence::Startup() {
  if (state_.sDataMapArg.empty()) {
    // No data folder is known yet, so these lines reach no file.
    log_.LogRegel(SyncLine(": ERROR           : ",
                            "Geen parameters aangetroffen, start het programma als volgt:"));
    log_.LogRegel(SyncLine(": ERROR           : ",
                            "<path>\\sync.exe <path naar datamap>, voorbeeld: "
                            "C:\\Brenvik\\Korvath\\302021\\"));
  }
  log_.SetDataMap(state_.sDataMapArg);
  if (!TakeRunLock()) return false;
  admin_ = OpenAdministratie(state_.sDataMapArg, services_.engine, view_, &open_failure_);
  if (!admin_) return false;
  // The administration is open: from here an error ends the run as any other.
  return Guarded([this] { ShowAdministrationName(); });
}

// Before anything is read: a second run on the same administration would
// deliver the same orders again.
bool RunSequence::TakeRunLock() {
  if (state_.sDataMapArg.empty()) return true;
  run_lock_ = std::make_unique<RunLock>(state_.sDataMapArg);
  switch (run_lock_->state()) {
    // A missing folder is left to opening the administration, which reports
    // it in the words a user knows.
    case RunLockState::kHeld:
    case RunLockState::kNoFolder:
      return true;
    case RunLockState::kBusy:
      outcome_ = RunOutcome::kOtherRunBusy;
      std::cerr << "typrosync: een andere run is bezig met de datamap '" << state_.sDataMapArg
                << "'"
                << (run_lock_->detail().empty() ? "" : " (proces " + run_lock_->detail() + ")")
                << "; deze run verstuurt niets\n";
      return false;
    case RunLockState::kFailed:
      break;
  }
  std::cerr << "typrosync: administratie niet geopend: het vergrendelbestand '" << run_lock_->path()
            << "' kan niet worden gebruikt: " << run_lock_->detail() << '\n';
  return false;
}

void RunSequence::ShowAdministrationName() {
  TableRecordset& user = admin_->Table("UserGegevens");
  if (user.RecordCount() > 0) {
    user.MoveFirst();
    view_.SetCaption(user.Field("Naam").Text() + " - TallyraPro - AutoSync");
  }
}

MessageBuilders& RunSequence::Builders() {
  // Tests hand in their own builders; a real run sends through the senders.
  if (services_.builders != nullptr) return *services_.builders;
  if (!delivery_ && services_.https != nullptr && services_.ftp != nullptr) {
    delivery_ = std::make_unique<Delivery>(state_, MessageTablesOf(*admin_), services_.clock,
                                           separators_, *services_.https, *services_.ftp, log_,
                                           services_.cropr_observer);
  }
  if (!delivery_) throw VbError(91, "Objectvariabele of blokvariabele With is niet ingesteld");
  return *delivery_;
}

void RunSequence::RunOrders() {
  OrderContext ctx{state_, *admin_, view_, log_, services_.clock, Builders(), separators_, {}, services_.stop};
  LeesToelatingsnummers(ctx);
  LeesOrders(ctx);
}

void RunSequence::Sync() {
  state_.bBezig = true;
  const bool completed = Guarded([this] {
    log_.LogRegel(SyncLine(": Datapath        : ", log_.DataMap()));
    RunOrders();
  });
  if (completed) {
    view_.SetStatus("Gereed");
    outcome_ = RunOutcome::kFinished;
  }
  state_.bBezig = false;
}

bool RunSequence::Guarded(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const VbError& e) {
    LogAborted(e.number(), e.description());
  } catch (const std::bad_alloc&) {
    // Running out of memory is a condition of the machine, not a fault in
    // the program: it keeps the platform's own number.
    LogAborted(7, "Onvoldoende geheugen");
  } catch (const std::exception& e) {
    // Only VbError is the program's own run-time error; anything else is a
    // fault in the program and must not pass for a user's error.
    LogAborted(kInternalErrorNumber, std::string(kInternalErrorText) + ": " + e.what());
  } catch (...) {
    LogAborted(kInternalErrorNumber, kInternalErrorText);
  }
  return false;
}

void RunSequence::LogAborted(long number, const std::string& description) {
  outcome_ = RunOutcome::kAborted;
  log_.LogRegel(SyncLine(": ERROR           : ", "Synchronisatie afgebroken"), number,
                description);
  view_.SetStatus("Synchronisatie afgebroken");
}

RunOutcome RunToEnd(RunSequence& run, const std::string& argument) {
  run.Load(argument);
  if (!run.Startup()) return run.outcome();
  run.Sync();
  return run.outcome();
}

}  // namespace typrosync

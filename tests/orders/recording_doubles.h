#pragma once
// A real administration and whole runs of the sequence over it for the order
// and run tests, as the program runs them but with a clock standing at
// kMoment and message builders that record each call instead of sending.

#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "database/sqlite_engine.h"
#include "e2e/admin_fixture.h"
#include "run/console_view.h"
#include "run/run_sequence.h"

namespace typrosync::test_support {

inline constexpr LocalDateTime kMoment{2024, 3, 1, 12, 30, 45};
// What the run log writes before each text at kMoment on computer PC01.
inline const std::string kLogPrefix = "01-Mar-2024 12:30:45 : PC01            : BEHEER          : ";

class SyncRun {
 public:
  // A builder call: "CROPR" or "AGROVISION", the customer and lvwLeveringen as it saw it.
  struct Call {
    std::string platform, relnr;
    DeliveryLines rows;
  };

  RunOutcome Sync(const std::string& argument) {
    calls.clear();
    run = std::make_unique<RunSequence>(
        RunServices{clock, *engine, "PC01", nullptr, nullptr, &builders}, view);
    return RunToEnd(*run, argument);
  }
  RunOutcome Sync() { return Sync(admin.folder()); }
  // Each call as "PLATFORM relnr rows".
  std::vector<std::string> Calls() const {
    std::vector<std::string> texts;
    for (const Call& c : calls)
      texts.push_back(c.platform + " " + c.relnr + " " + std::to_string(c.rows.size()));
    return texts;
  }

  TestAdministratie admin;
  struct : Clock {
    LocalDateTime Now() override { return kMoment; }
  } clock;
  std::unique_ptr<DatabaseEngine> engine = MakeSqliteEngine();
  std::ostringstream out, err;
  ConsoleView view{out, err, /*verbose=*/true};
  std::unique_ptr<RunSequence> run;
  std::vector<Call> calls;
  std::set<std::string> refused;             // Crop-R does not acknowledge these customers
  std::function<void(const Call&)> on_call;  // runs inside the builder

 private:
  struct Builders : MessageBuilders {
    explicit Builders(SyncRun& r) : sync(r) {}
    bool BouwBerichtCropR(const std::string& sRelNr) override {
      Record("CROPR", sRelNr);
      return !sync.refused.contains(sRelNr);
    }
    void BouwBerichtAgroVision(const std::string& sRelNr) override { Record("AGROVISION", sRelNr); }
    void Record(const char* platform, const std::string& relnr) {
      sync.calls.push_back({platform, relnr, sync.run->state().lvwLeveringen});
      if (sync.on_call) sync.on_call(sync.calls.back());
    }
    SyncRun& sync;
  };
  Builders builders{*this};
};

}  // namespace typrosync::test_support

#pragma once
// Doubles for the order and run tests: message builders that record each
// call instead of sending, and one whole run with them and the console view.

#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/run_state.h"
#include "database/sqlite_engine.h"
#include "message/message_builders.h"
#include "orders/test_administration.h"
#include "run/console_view.h"
#include "run/run_sequence.h"

namespace typrosync::testing {

class RecordingBuilders : public MessageBuilders {
 public:
  struct Call {
    std::string platform;  // "CROPR" or "AGROVISION"
    std::string relnr;
    DeliveryLines rows;  // lvwLeveringen as the builder saw it
  };

  explicit RecordingBuilders(RunState& state) : state_(state) {}

  bool BouwBerichtCropR(const std::string& sRelNr) override {
    Record("CROPR", sRelNr);
    return !refused.contains(sRelNr);
  }
  void BouwBerichtAgroVision(const std::string& sRelNr) override { Record("AGROVISION", sRelNr); }

  std::vector<Call> calls;
  std::set<std::string> refused;             // Crop-R does not acknowledge these customers
  std::function<void(const Call&)> on_call;  // runs inside the builder

 private:
  void Record(const char* platform, const std::string& relnr) {
    calls.push_back({platform, relnr, state_.lvwLeveringen});
    if (on_call) on_call(calls.back());
  }
  RunState& state_;
};

inline constexpr LocalDateTime kMoment{2024, 3, 1, 12, 30, 45};

// The run sequence as the program runs it, with a clock standing at kMoment.
struct SyncRun {
  RunOutcome Sync(const std::string& argument) {
    builders = nullptr;
    run = std::make_unique<RunSequence>(
        RunServices{clock, *engine, "PC01",
                    [this](BuilderServices& s) {
                      auto made = std::make_unique<RecordingBuilders>(s.state);
                      made->refused = refused;
                      made->on_call = on_call;
                      builders = made.get();
                      return made;
                    }},
        view);
    return RunToEnd(*run, argument);
  }
  // Each builder call as "PLATFORM relnr rows".
  std::vector<std::string> Calls() const {
    std::vector<std::string> calls;
    if (builders == nullptr) return calls;
    for (const auto& c : builders->calls)
      calls.push_back(c.platform + " " + c.relnr + " " + std::to_string(c.rows.size()));
    return calls;
  }

  FakeClock clock{kMoment};
  std::unique_ptr<DatabaseEngine> engine = MakeSqliteEngine();
  std::ostringstream out, err;
  ConsoleView view{out, err};
  std::unique_ptr<RunSequence> run;
  RecordingBuilders* builders = nullptr;  // owned by `run`
  std::set<std::string> refused;
  std::function<void(const RecordingBuilders::Call&)> on_call;
};

}  // namespace typrosync::testing

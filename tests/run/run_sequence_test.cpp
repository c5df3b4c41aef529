// The whole run without a window: start-up, the run, its outcome, the
// headless output and the error line that ends a run.

#include "run/run_sequence.h"

#include <gtest/gtest.h>

#include <sstream>

#include "common/date_format.h"
#include "common/vb_error.h"
#include "database/sqlite_engine.h"
#include "orders/recording_doubles.h"
#include "orders/test_administration.h"
#include "run/console_view.h"

namespace typrosync {
namespace {

using testing::FakeClock;
using testing::OrderRegel;
using testing::RecordingBuilders;
using testing::TestAdministratie;

constexpr LocalDateTime kMoment{2024, 3, 1, 12, 30, 45};

class RunSequenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    admin_.Groep(1, "AgroVision");
    admin_.Artikel("A1", "NL-1");
  }

  RunOutcome Run(const std::string& argument) {
    run_ = std::make_unique<RunSequence>(
        RunServices{clock_, *engine_, "PC01",
                    [this](BuilderServices& s) {
                      auto builders = std::make_unique<RecordingBuilders>(s.state);
                      builders->on_call = on_call_;
                      builders_ = builders.get();
                      return builders;
                    }},
        view_);
    return RunToEnd(*run_, argument);
  }

  // The customer's line with its own order number and meta record.
  void Klant(const std::string& relnr, const std::string& ordernr) {
    admin_.Relatie(relnr, "Boer " + relnr, "X");
    OrderRegel regel;
    regel.relnr = relnr;
    regel.ordernr = ordernr;
    admin_.Order(regel);
    admin_.Meta(ordernr);
  }

  std::string Prefix() const {
    return FormatMoment(kMoment, "dd-mmm-yyyy HH:mm:ss") +
           " : PC01            : BEHEER          : ";
  }

  TestAdministratie admin_;
  FakeClock clock_{kMoment};
  std::unique_ptr<DatabaseEngine> engine_ = MakeSqliteEngine();
  std::ostringstream out_;
  std::ostringstream err_;
  ConsoleView view_{out_, err_};
  std::unique_ptr<RunSequence> run_;
  RecordingBuilders* builders_ = nullptr;
  std::function<void(const RecordingBuilders::Call&)> on_call_;
};

TEST_F(RunSequenceTest, FinishedRunShowsItsStepsAndLines) {
  admin_.Gebruiker("Handel Korvath");
  Klant("1001", "5001");
  std::string folder = admin_.DataMap();
  folder.pop_back();  // the final "/" is added by the run
  EXPECT_EQ(Run(folder), RunOutcome::kGereed);
  EXPECT_EQ(run_->state().sDataMapArg, admin_.DataMap());
  EXPECT_EQ(run_->state().sRunId, "20240301_123045");
  const std::string out = out_.str();
  EXPECT_EQ(out.find("Status: Geen activiteit.\n"), out.find("Status: "));
  for (const char* text :
       {"Venster: Handel Korvath - TallyraPro - AutoSync\n", "Status: Lezen van orders\n",
        "Status: Versturen van orders\n", "Status: Gereed\n", "relnr.  naam       woonplaats",
        "1001    Boer 1001  Emmen"}) {
    EXPECT_NE(out.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(out.find("ordernr"), std::string::npos);  // the hidden column stays hidden
  const std::string first = Prefix() + "SYNC      : Datapath        : " + admin_.DataMap() + "\r\n";
  EXPECT_EQ(admin_.Log("2024-03").substr(0, first.size()), first);
}

TEST_F(RunSequenceTest, EmptyUserTableLeavesTheCaptionAndRuns) {
  Klant("1001", "5001");
  EXPECT_EQ(Run(admin_.DataMap()), RunOutcome::kGereed);
  EXPECT_EQ(out_.str().find("Venster:"), std::string::npos);
  ASSERT_NE(builders_, nullptr);
  EXPECT_EQ(builders_->calls.size(), 1u);
}

TEST_F(RunSequenceTest, BusyWhileRunningSoClosingIsRefused) {
  Klant("1001", "5001");
  std::vector<bool> may_unload;
  on_call_ = [&](const auto&) { may_unload.push_back(run_->MayUnload()); };
  Run(admin_.DataMap());
  EXPECT_EQ(may_unload, std::vector<bool>{false});
  EXPECT_TRUE(run_->MayUnload());
}

struct EndingError {
  const char* name;
  std::function<void()> raise;
  const char* error_line;
};

TEST_F(RunSequenceTest, AnEndingErrorIsLoggedAndEarlierStampsStay) {
  const EndingError cases[] = {
      {"run-time error", [] { throw VbError(3260, "Record is vergrendeld"); },
       "3260 -> Record is vergrendeld"},
      {"other exception", [] { throw std::runtime_error("kapot"); }, "5 -> kapot"},
  };
  for (const EndingError& c : cases) {
    SCOPED_TRACE(c.name);
    TestAdministratie admin;
    admin.Groep(1, "AgroVision");
    admin.Artikel("A1", "NL-1");
    for (const char* relnr : {"1001", "1002"}) {
      admin.Relatie(relnr, "Boer", "X");
      OrderRegel regel;
      regel.relnr = relnr;
      regel.ordernr = std::string("5") + relnr;
      admin.Order(regel);
      admin.Meta(regel.ordernr.Text());
    }
    on_call_ = [&c](const RecordingBuilders::Call& call) {
      if (call.relnr == "1002") c.raise();
    };
    EXPECT_EQ(Run(admin.DataMap()), RunOutcome::kAfgebroken);
    const std::string log = admin.Log("2024-03");
    const std::string ending = Prefix() +
                               "SYNC      : ERROR           : Synchronisatie afgebroken\r\n" +
                               Prefix() + "ERROR     :  + Error        : " + c.error_line + "\r\n";
    ASSERT_GE(log.size(), ending.size());
    EXPECT_EQ(log.substr(log.size() - ending.size()), ending);
    EXPECT_EQ(admin.Marks("51001")->first, "20240301123045");
    EXPECT_EQ(admin.Marks("51002")->first, "");
    EXPECT_TRUE(run_->MayUnload());
    EXPECT_NE(out_.str().find("Status: Synchronisatie afgebroken\n"), std::string::npos);
  }
}

}  // namespace
}  // namespace typrosync

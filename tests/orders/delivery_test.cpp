// The delivery over fake senders: what each reply does to the result and the
// run log.

#include "orders/delivery.h"

#include <gtest/gtest.h>

#include "common/test_support.h"
#include "database/sqlite_engine.h"
#include "e2e/admin_fixture.h"

namespace typrosync {
namespace {

struct ScriptedHttps : HttpsSender {
  HttpsReply VerstuurViaHTTPS(const std::string& bericht) override {
    messages.push_back(bericht);
    return replies.at(messages.size() - 1);
  }
  std::vector<HttpsReply> replies;
  std::vector<std::string> messages;
};

struct RecordingFtp : FtpSender {
  FtpOutcome VerstuurViaFTP(const std::string&, const std::string& bestandsnaam) override {
    names.push_back(bestandsnaam);
    return FtpOutcome::kUploaded;
  }
  std::vector<std::string> names;
};

class DeliveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* relnr : {"1001", "1002", "1003"}) admin_.Relatie(relnr, "X");
    admin_.Insert("UserGegevens", {{"Naam", "Handel Korvath"}});
    administratie_ = OpenAdministratie(admin_.folder(), *engine_, ui_);
    ASSERT_TRUE(administratie_);
    administratie_->Table("UserGegevens").MoveFirst();  // as the run's caption leaves it
    log_.SetDataMap(admin_.folder());
    state_.sRunId = "20240301_123045";
    clock_.now = {2024, 3, 1, 12, 30, 45};
  }
  Delivery MakeDelivery() {
    return Delivery(state_, MessageTablesOf(*administratie_), clock_, separators_, https_, ftp_,
                    log_);
  }
  // The status texts the run log holds, one per line.
  std::string Statuses() const {
    const std::string log = admin_.Log("2024-03");
    std::string statuses;
    const std::string marker = "CROPR     : Status          : ";
    for (size_t at = log.find(marker); at != std::string::npos; at = log.find(marker, at + 1)) {
      const size_t start = at + marker.size();
      statuses += log.substr(start, log.find("\r\n", start) - start) + "|";
    }
    return statuses;
  }

  test_support::TestAdministratie admin_;
  std::unique_ptr<DatabaseEngine> engine_ = MakeSqliteEngine();
  test_support::QuietUi ui_;
  test_support::FakeClock clock_;
  RunLog log_{clock_, ui_, "PC01"};
  RunState state_;
  Separators separators_;
  ScriptedHttps https_;
  RecordingFtp ftp_;
  std::unique_ptr<Administratie> administratie_;
};

TEST_F(DeliveryTest, OnlyAnOkReplyDeliversAndAFailedRequestEndsCropRForTheRun) {
  https_.replies = {{true, "<OK />", ""}, {true, "<fout>onbekend</fout>", ""},
                    {false, "", "De server heeft niet op tijd geantwoord."}};
  Delivery delivery = MakeDelivery();
  EXPECT_FALSE(delivery.BouwBerichtCropR("9999"));  // no such customer: nothing at all
  EXPECT_TRUE(delivery.BouwBerichtCropR("1001"));
  EXPECT_FALSE(delivery.BouwBerichtCropR("1002"));
  EXPECT_FALSE(delivery.BouwBerichtCropR("1003"));
  EXPECT_FALSE(delivery.BouwBerichtCropR("1001"));  // not attempted any more
  EXPECT_EQ(https_.messages.size(), 3u);
  EXPECT_EQ(Statuses(),
            "<fout>onbekend</fout>|De server heeft niet op tijd geantwoord.|"
            "Niet verstuurd: Crop-R was eerder in deze run onbereikbaar|");
}

TEST_F(DeliveryTest, AgroVisionFileNamedAfterCustomerAndRunAndBusyFlagCleared) {
  Delivery delivery = MakeDelivery();
  state_.bBezig = true;
  delivery.BouwBerichtAgroVision("1002");
  EXPECT_FALSE(state_.bBezig);
  state_.bBezig = true;
  delivery.BouwBerichtAgroVision("9999");  // no such customer: nothing sent
  EXPECT_TRUE(state_.bBezig);
  EXPECT_EQ(ftp_.names, std::vector<std::string>{"1002_20240301_123045.xml"});
  EXPECT_EQ(Statuses(), "");
}

}  // namespace
}  // namespace typrosync

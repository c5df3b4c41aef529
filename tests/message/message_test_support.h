#pragma once
// A fixture for the message builders: a real administration with a supplier,
// country and product-group codes, helpers that add articles, order lines
// and the delivery lines the order run would have shown, and the builders
// opened on it with a fixed clock.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/run_state.h"
#include "database/administratie.h"
#include "e2e/admin_fixture.h"
#include "message/delivery_message.h"
#include "run/run_log.h"

namespace typrosync {

class FixedClock : public Clock {
 public:
  LocalDateTime Now() override { return now; }
  LocalDateTime now{2024, 3, 4, 9, 5, 7};
};

// Records every message box; answers at once like the person pressing OK.
class RecordingUi : public UserInterface {
 public:
  void ProcessPendingEvents() override {}
  void SetBusyPointer(bool) override {}
  void ShowMessage(const std::string& text, MessageIcon, const std::string&) override {
    messages.push_back(text);
  }
  std::vector<std::string> messages;
};

class MessageTestBase : public ::testing::Test {
 protected:
  void SetUp() override;

  // Opens the administration and the builders; without senders the builders
  // get real ones aimed at a closed port (for tests that never hand over).
  void Open(HttpsSender* https = nullptr, FtpSender* ftp = nullptr);

  void AddArticle(const std::string& artnr, const std::string& standaard,
                  const std::string& categorie);
  // Numbers as SQL literals, texts plain.
  void AddOrderLine(const std::string& key, const std::string& order, const std::string& artnr,
                    const std::string& aantal, const std::string& gewicht, const std::string& groep,
                    const std::string& oms1, const std::string& oms2, const std::string& orderdatum,
                    const std::string& leverdatum, const std::string& referentie,
                    const std::string& silo);
  // A delivery line as the order run leaves it; admission number "T-" + artnr.
  void AddRow(const std::string& voucher, const std::string& order, const std::string& artnr,
              const std::string& tag, const std::string& relnr = "10234");

  // The run log of the data folder ("" when nothing was logged).
  std::string LogText() const;

  test_support::TestAdministratie& admin() { return *admin_; }
  RunState& state() { return state_; }
  DeliveryMessage& builder() { return *builder_; }

  FixedClock clock_;
  RecordingUi ui_;

 private:
  std::unique_ptr<test_support::TestAdministratie> admin_;
  RunState state_;
  std::unique_ptr<DatabaseEngine> engine_;
  std::unique_ptr<Administratie> administratie_;
  std::unique_ptr<RunLog> log_;
  std::unique_ptr<HttpsSender> https_;
  std::unique_ptr<FtpSender> ftp_;
  std::unique_ptr<DeliveryMessage> builder_;
};

}  // namespace typrosync

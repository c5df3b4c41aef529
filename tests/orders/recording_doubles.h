#pragma once
// Doubles for the order and run tests: a view that records what it was told
// and message builders that record each call instead of sending.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/run_state.h"
#include "message/message_builders.h"
#include "orders/orders_view.h"

namespace typrosync::testing {

class RecordingView : public OrdersView {
 public:
  void SetStatus(const std::string& text) override { statuses.push_back(text); }
  void SetProgress(double percent) override { progress.push_back(percent); }
  void ShowDeliveryLines(const DeliveryLines& lines) override { shown.push_back(lines); }
  void ProcessPendingEvents() override { ++events; }
  void SetBusyPointer(bool) override {}
  void ShowMessage(const std::string& text, MessageIcon, const std::string&) override {
    messages.push_back(text);
  }

  std::vector<std::string> statuses;
  std::vector<double> progress;
  std::vector<DeliveryLines> shown;
  std::vector<std::string> messages;
  int events = 0;
};

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

}  // namespace typrosync::testing

#pragma once
// Shared by the tests: the Dutch process locale, fresh separator settings for
// each test, joined result tables and error numbers.

#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <initializer_list>
#include <string>

#include "common/clock.h"
#include "common/locale_settings.h"
#include "common/user_interface.h"
#include "common/vb_error.h"

namespace typrosync::test_support {

// A clock at 5 March 2024 14:07:09 that moves `step` seconds after each
// reading.
struct FakeClock : Clock {
  LocalDateTime Now() override {
    LocalDateTime moment = now;
    now.second += step;
    return moment;
  }
  LocalDateTime now{2024, 3, 5, 14, 7, 9};
  int step = 0;
};

// A window nobody looks at: pointer and message boxes go nowhere; it counts
// the times pending events were let through.
struct QuietUi : UserInterface {
  void ProcessPendingEvents() override { ++events; }
  void SetBusyPointer(bool) override {}
  void ShowMessage(const std::string&, MessageIcon, const std::string&) override {}
  int events = 0;
};

// Every category of the process locale Dutch while it lives, then "C" again.
// Not active when nl_NL.UTF-8 is missing (scripts/install-deps generates it).
struct DutchLocale {
  DutchLocale() : active(std::setlocale(LC_ALL, "nl_NL.UTF-8") != nullptr) {}
  ~DutchLocale() { std::setlocale(LC_ALL, "C"); }
  const bool active;
};

// The number functions change the separator settings as a side effect, so
// every test starts from the Dutch ones of its own.
struct DutchSeparatorsTest : ::testing::Test {
  Separators separators;
};

// The texts `call` gives for the inputs, joined by "|": one comparison shows a
// whole table of cases.
template <typename Inputs, typename Call>
std::string Joined(const Inputs& inputs, Call call) {
  std::string texts;
  for (const auto& input : inputs) texts += (texts.empty() ? "" : "|") + std::string(call(input));
  return texts;
}
template <typename Input, typename Call>
std::string Joined(std::initializer_list<Input> inputs, Call call) {
  return Joined<std::initializer_list<Input>>(inputs, call);
}

// The number of the VbError the call throws, 0 when it throws none.
inline long ErrorNumber(const std::function<void()>& call) {
  try {
    call();
  } catch (const VbError& error) {
    return error.number();
  }
  return 0;
}

// The numbers of the VbErrors the calls throw (0 for none), joined by "|".
inline std::string ErrorNumbers(std::initializer_list<std::function<void()>> calls) {
  return Joined(calls, [](const auto& call) { return std::to_string(ErrorNumber(call)); });
}

}  // namespace typrosync::test_support

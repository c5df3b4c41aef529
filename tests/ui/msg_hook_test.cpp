#include "ui/msg_hook.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>

#include "common/vb_error.h"
#include "ui/mod_msg_hook_proc.h"

namespace typrosync {
namespace {

constexpr long kWatched = QEvent::User;          // 1000: filter entry 229
constexpr long kSameEntry = QEvent::User + 257;  // 1257: filter entry 229 as well
constexpr long kOther = QEvent::User + 1;
using Log = std::vector<std::string>;

// A widget that writes down the test's events that its own handling sees.
struct LoggingWidget : QWidget {
  LoggingWidget(Log& to, std::string widget) : log(to), name(std::move(widget)) {}
  bool event(QEvent* event) override {
    const std::string line = name + " handles " + std::to_string(event->type());
    if (event->type() >= QEvent::User) log.push_back(line);
    if (event->type() == QEvent::KeyPress)
      log.push_back(line + " key " + std::to_string(static_cast<QKeyEvent*>(event)->key()));
    return QWidget::event(event);
  }
  Log& log;
  std::string name;
};

class MsgHookTest : public ::testing::Test {
 protected:
  // Logs Before and After of `hook` under `name`; the test's hooks are all filtered.
  void Watch(MsgHook& hook, const std::string& name) {
    QObject::connect(&hook, &MsgHook::Before, [this, name](long& uMsg, long&, long&, long&) {
      log_.push_back(name + " before " + std::to_string(uMsg));
    });
    QObject::connect(&hook, &MsgHook::After, [this, name](long& uMsg, long&, long&) {
      log_.push_back(name + " after " + std::to_string(uMsg));
    });
  }
  // Sends an event of `type` and returns the log it added.
  Log Send(QWidget& widget, long type) {
    log_.clear();
    QEvent event(static_cast<QEvent::Type>(type));
    QCoreApplication::sendEvent(&widget, &event);
    return log_;
  }

  Log log_;
};

TEST_F(MsgHookTest, FilteredHookPassesOtherEventsStraightThrough) {
  LoggingWidget widget(log_, "w");
  MsgHook hook;
  Watch(hook, "h");
  hook.Hook(&widget, {kWatched});
  EXPECT_EQ(Send(widget, kOther), (Log{"w handles 1001"}));
  EXPECT_EQ(Send(widget, kSameEntry), (Log{"w handles 1257"}));  // same filter entry
  EXPECT_EQ(Send(widget, kWatched), (Log{"h before 1000", "w handles 1000", "h after 1000"}));
  const std::vector<long> negative{15, -3};
  EXPECT_THAT([&] { hook.Hook(&widget, negative); },
              testing::ThrowsMessage<VbError>("9 -> Subscript valt buiten het bereik"));
  EXPECT_EQ(hook.Slot(), 0);
  EXPECT_EQ(Send(widget, kWatched), (Log{"w handles 1000"}));
}

TEST_F(MsgHookTest, BeforeCancelsWithItsResultOrChangesTheKey) {
  LoggingWidget widget(log_, "w");
  MsgHook hook;
  Watch(hook, "h");
  long result = 1;
  QObject::connect(&hook, &MsgHook::Before, [&](long& uMsg, long& wParam, long&, long& retVal) {
    if (wParam == Qt::Key_A) uMsg = 0, retVal = result;
    if (wParam == Qt::Key_B) wParam = Qt::Key_C;
  });
  hook.Hook(&widget, {QEvent::KeyPress});
  for (result = 1; result >= 0; --result) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    key.setAccepted(result == 0);
    QCoreApplication::sendEvent(&widget, &key);
    EXPECT_EQ(key.isAccepted(), result == 1);
  }
  EXPECT_EQ(log_, (Log{"h before 6", "h before 6"}));  // no handling, no After
  log_.clear();
  QKeyEvent key(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b");
  QCoreApplication::sendEvent(&widget, &key);
  EXPECT_EQ(log_, (Log{"h before 6", "w handles 6 key 67", "h after 6"}));  // 67: C
}

TEST_F(MsgHookTest, TenthHookUsesTheWindowCollection) {
  std::vector<std::unique_ptr<LoggingWidget>> widgets;
  std::vector<std::unique_ptr<MsgHook>> hooks;
  for (int i = 1; i <= 10; ++i) {
    widgets.push_back(std::make_unique<LoggingWidget>(log_, "w" + std::to_string(i)));
    hooks.push_back(std::make_unique<MsgHook>());
    Watch(*hooks.back(), "h" + std::to_string(i));
    hooks.back()->Hook(widgets.back().get(), {kWatched});
    EXPECT_EQ(hooks.back()->Slot(), i);
  }
  const std::string key = WindowKey(widgets[9].get());
  EXPECT_EQ(WindowCollectionItem(key), 10);
  EXPECT_EQ(Send(*widgets[9], kWatched),
            (Log{"h10 before 1000", "w10 handles 1000", "h10 after 1000"}));
  MsgHook duplicate;  // a second record from 10 up for the same window
  EXPECT_THAT([&] { duplicate.Hook(widgets[9].get()); },
              testing::ThrowsMessage<VbError>(
                  "457 -> Deze sleutel is al gekoppeld aan een element van deze verzameling"));
  hooks[9]->Unhook();
  EXPECT_FALSE(WindowCollectionItem(key).has_value());
  EXPECT_EQ(Send(*widgets[9], kWatched), (Log{"w10 handles 1000"}));
}

}  // namespace
}  // namespace typrosync

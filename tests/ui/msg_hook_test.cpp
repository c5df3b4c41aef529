#include "ui/msg_hook.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "common/vb_error.h"
#include "ui/mod_msg_hook_proc.h"

namespace typrosync {
namespace {

constexpr long kWatched = QEvent::User;          // 1000: filter entry 229
constexpr long kSameEntry = QEvent::User + 257;  // 1257: filter entry 229 as well
constexpr long kOther = QEvent::User + 1;

// A widget that writes down the events its own handling sees.
class LoggingWidget : public QWidget {
 public:
  explicit LoggingWidget(std::vector<std::string>& log, std::string name = "w")
      : log_(log), name_(std::move(name)) {}
  int last_key = 0;

 protected:
  bool event(QEvent* event) override {
    const long type = event->type();
    if (type == kWatched || type == kSameEntry || type == kOther || type == QEvent::KeyPress) {
      log_.push_back(name_ + " handles " + std::to_string(type));
    }
    if (type == QEvent::KeyPress) {
      last_key = static_cast<QKeyEvent*>(event)->key();
      event->accept();
      return true;
    }
    return QWidget::event(event);
  }

 private:
  std::vector<std::string>& log_;
  std::string name_;
};

class MsgHookTest : public ::testing::Test {
 protected:
  // Logs Before and After of `hook` under `name` for the event types the test sends.
  void Watch(MsgHook& hook, const std::string& name) {
    QObject::connect(&hook, &MsgHook::Before, [this, name](long& uMsg, long&, long&, long&) {
      if (Interesting(uMsg)) log_.push_back(name + " before " + std::to_string(uMsg));
    });
    QObject::connect(&hook, &MsgHook::After, [this, name](long& uMsg, long&, long&) {
      if (Interesting(uMsg)) log_.push_back(name + " after " + std::to_string(uMsg));
    });
  }
  static bool Interesting(long uMsg) {
    return uMsg == kWatched || uMsg == kSameEntry || uMsg == kOther || uMsg == QEvent::KeyPress;
  }
  static bool Send(QWidget& widget, long type) {
    QEvent event(static_cast<QEvent::Type>(type));
    return QCoreApplication::sendEvent(&widget, &event);
  }
  static QKeyEvent KeyA() { return QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"); }

  std::vector<std::string> log_;
};

using Log = std::vector<std::string>;

TEST_F(MsgHookTest, HookWithoutMessagesWatchesEveryEvent) {
  LoggingWidget widget(log_);
  MsgHook hook;
  Watch(hook, "h");
  hook.Hook(&widget);
  Send(widget, kWatched);
  Send(widget, kOther);
  EXPECT_EQ(log_, (Log{"h before 1000", "w handles 1000", "h after 1000", "h before 1001",
                       "w handles 1001", "h after 1001"}));
}

TEST_F(MsgHookTest, FilteredHookPassesOtherEventsStraightThrough) {
  LoggingWidget widget(log_);
  MsgHook hook;
  Watch(hook, "h");
  hook.Hook(&widget, {kWatched});
  Send(widget, kOther);
  Send(widget, kSameEntry);  // shares the filter entry, but is not in the message set
  Send(widget, kWatched);
  EXPECT_EQ(log_, (Log{"w handles 1001", "w handles 1257", "h before 1000", "w handles 1000",
                       "h after 1000"}));
  const HookRecord* record = HookRecordAt(hook.Slot());
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->message_count, 1);
  EXPECT_TRUE(record->message_filter[229]);
  EXPECT_EQ(std::count(record->message_filter.begin(), record->message_filter.end(), true), 1);
  EXPECT_TRUE(record->message_set->contains("H1000"));
}

TEST_F(MsgHookTest, BeforeCancelsWithItsOwnResult) {
  LoggingWidget widget(log_);
  MsgHook hook;
  Watch(hook, "h");
  long result = 1;
  QObject::connect(&hook, &MsgHook::Before, [&](long& uMsg, long&, long&, long& retVal) {
    uMsg = 0;
    retVal = result;
  });
  hook.Hook(&widget, {QEvent::KeyPress});
  QKeyEvent accepted = KeyA();
  accepted.ignore();
  QCoreApplication::sendEvent(&widget, &accepted);
  EXPECT_TRUE(accepted.isAccepted());  // retVal 1

  result = 0;
  QKeyEvent ignored = KeyA();
  QCoreApplication::sendEvent(&widget, &ignored);
  EXPECT_FALSE(ignored.isAccepted());  // retVal 0
  // Neither reached the widget, and After was not raised.
  EXPECT_EQ(log_, (Log{"h before 6", "h before 6"}));
}

TEST_F(MsgHookTest, CancelledClickNeverReachesTheButton) {
  QPushButton button("OK");
  button.resize(80, 30);
  button.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
  QSignalSpy clicks(&button, &QPushButton::clicked);
  MsgHook hook;
  QObject::connect(&hook, &MsgHook::Before, [](long& uMsg, long&, long&, long&) { uMsg = 0; });
  hook.Hook(&button, {QEvent::MouseButtonPress, QEvent::MouseButtonRelease});
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 0);
  hook.Unhook();
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
}

TEST_F(MsgHookTest, BeforeCanChangeTheKeyTheWidgetSees) {
  LoggingWidget widget(log_);
  MsgHook hook;
  long after_key = 0;
  QObject::connect(&hook, &MsgHook::Before, [](long&, long& wParam, long&, long&) {
    if (wParam == Qt::Key_A) wParam = Qt::Key_B;
  });
  QObject::connect(&hook, &MsgHook::After, [&](long&, long& wParam, long&) { after_key = wParam; });
  hook.Hook(&widget, {QEvent::KeyPress});
  QKeyEvent key = KeyA();
  key.ignore();
  QCoreApplication::sendEvent(&widget, &key);
  EXPECT_EQ(widget.last_key, Qt::Key_B);
  EXPECT_EQ(after_key, Qt::Key_B);
  EXPECT_TRUE(key.isAccepted());  // the widget accepted the changed key
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
  EXPECT_EQ(HookTableUpperBound(), 18);  // 9 doubled
  const HookRecord* tenth = HookRecordAt(10);
  EXPECT_EQ(tenth->own_procedure, GenericProcedure());
  EXPECT_NE(HookRecordAt(9)->own_procedure, GenericProcedure());
  const std::string key = WindowKey(widgets[9].get());
  EXPECT_EQ(WindowCollectionItem(key), 10);
  EXPECT_FALSE(WindowCollectionItem(WindowKey(widgets[8].get())).has_value());

  Send(*widgets[9], kWatched);
  EXPECT_EQ(log_, (Log{"h10 before 1000", "w10 handles 1000", "h10 after 1000"}));

  // A second record from 10 up for the same window is a duplicate key.
  MsgHook duplicate;
  try {
    duplicate.Hook(widgets[9].get());
    ADD_FAILURE() << "no duplicate-key error";
  } catch (const VbError& error) {
    EXPECT_EQ(error.number(), 457);
  }

  hooks[9]->Unhook();
  EXPECT_FALSE(WindowCollectionItem(key).has_value());
  log_.clear();
  Send(*widgets[9], kWatched);
  EXPECT_EQ(log_, (Log{"w10 handles 1000"}));
}

TEST_F(MsgHookTest, FreedRecordsAreReusedLowestFirst) {
  LoggingWidget a(log_, "a");
  LoggingWidget b(log_, "b");
  auto first = std::make_unique<MsgHook>();
  MsgHook second;
  first->Hook(&a);
  second.Hook(&b);
  const long freed = first->Slot();
  first.reset();  // its end unhooks it
  EXPECT_EQ(HookRecordAt(freed)->owner, nullptr);
  MsgHook third;
  third.Hook(&a);
  EXPECT_EQ(third.Slot(), freed);
}

TEST_F(MsgHookTest, HookingTwiceMovesTheHook) {
  LoggingWidget first(log_, "a");
  LoggingWidget second(log_, "b");
  MsgHook hook;
  Watch(hook, "h");
  hook.Hook(&first, {kWatched});
  hook.Hook(&second, {kWatched});
  Send(first, kWatched);
  Send(second, kWatched);
  EXPECT_EQ(log_, (Log{"a handles 1000", "h before 1000", "b handles 1000", "h after 1000"}));
}

TEST_F(MsgHookTest, TwoHooksOnOneWidgetNest) {
  LoggingWidget widget(log_);
  MsgHook older;
  MsgHook newer;
  Watch(older, "old");
  Watch(newer, "new");
  older.Hook(&widget);
  newer.Hook(&widget);
  Send(widget, kWatched);
  EXPECT_EQ(log_, (Log{"new before 1000", "old before 1000", "w handles 1000", "old after 1000",
                       "new after 1000"}));
  log_.clear();
  older.Unhook();  // out of order: the newer hook still reaches the widget
  Send(widget, kWatched);
  EXPECT_EQ(log_, (Log{"new before 1000", "w handles 1000", "new after 1000"}));
}

TEST_F(MsgHookTest, NegativeMessageNumberIsOutOfRange) {
  LoggingWidget widget(log_);
  MsgHook hook;
  try {
    hook.Hook(&widget, {15, -3});
    ADD_FAILURE() << "no range error";
  } catch (const VbError& error) {
    EXPECT_EQ(error.number(), 9);
  }
  EXPECT_EQ(hook.Slot(), 0);
  Send(widget, kWatched);
  EXPECT_EQ(log_, (Log{"w handles 1000"}));
}

}  // namespace
}  // namespace typrosync

#include <gtest/gtest.h>

#include <QCursor>
#include <QSignalSpy>
#include <QTest>
#include <tuple>

#include "ui/cmd_button_xp.h"

namespace typrosync {
namespace {

// A button on a shown window, driven by synthetic mouse input on its picture surface.
class ImageButtonTest : public ::testing::Test {
 public:  // the steps name its actions
  // After `act` and 40 ms (several ticks of the 5 ms hover timer): the look shown,
  // whether the hover timer runs, whether a sticky button is down, the clicks so far.
  struct Step {
    void (ImageButtonTest::*act)();
    int16_t look;
    bool hovering;
    bool down;
    int clicks;
  };
  void SetUp() override {
    host_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host_));
    Away();
  }
  void Run(std::initializer_list<Step> steps) {
    int number = 0;
    for (const Step& step : steps) {
      (this->*step.act)();
      QTest::qWait(40);
      SCOPED_TRACE(testing::Message() << "step " << ++number);
      EXPECT_EQ(std::tuple(button_->Fields().m_iState, button_->Timer().isActive(),
                           button_->Fields().m_bDown, clicks_.count()),
                std::tuple(step.look, step.hovering, step.down, step.clicks));
      EXPECT_TRUE(Surface()->Picture().toImage() == button_->pictButtonXP(step.look).toImage());
    }
  }
  PictureBox* Surface() const { return button_->pictNormal(); }
  void MoveOver() { QTest::mouseMove(Surface(), QPoint(5, 5)); }
  // The cursor leaves without any event reaching the button; only the timer can tell.
  void Away() { QCursor::setPos(host_.mapToGlobal(QPoint(250, 100))); }
  void Press() { QTest::mousePress(Surface(), Qt::LeftButton, {}, QPoint(5, 5)); }
  void ReleaseOff() { QTest::mouseRelease(Surface(), Qt::LeftButton, {}, QPoint(230, 80)); }
  void Click() { QTest::mouseClick(Surface(), Qt::LeftButton, {}, QPoint(5, 5)); }
  void Disable() { button_->Enabled(false); }
  void Enable() { button_->Enabled(true); }
  void Stick() { button_->StickButton(); }
  void Unstick() { button_->ReleaseButton(); }

  QWidget host_;
  cmdButtonXP* button_ = new cmdButtonXP(&host_);
  QSignalSpy clicks_{button_, &cmdButtonXP::Click};
};

using T = ImageButtonTest;

TEST_F(ImageButtonTest, HoverAndPressedLooksFollowTheMouse) {
  Run({{&T::MoveOver, kLookHover, true, false, 0},
       {&T::Away, kLookNormal, false, false, 0},
       {&T::MoveOver, kLookHover, true, false, 0},
       {&T::Press, kLookPressed, true, false, 0},
       {&T::Away, kLookHover, true, false, 0},  // dragged off while down
       {&T::ReleaseOff, kLookNormal, false, false, 0},
       {&T::MoveOver, kLookHover, true, false, 0},
       {&T::Click, kLookNormal, false, false, 1}});
}

TEST_F(ImageButtonTest, StickyButtonTogglesOnEachClick) {
  button_->StickyButton(true);
  button_->StickyStyle(kLookHover);  // its look while stuck and the mouse is away
  Run({{&T::MoveOver, kLookHover, true, false, 0},
       {&T::Click, kLookHover, false, true, 1},
       {&T::Away, kLookHover, false, true, 1},
       {&T::MoveOver, kLookPressed, true, true, 1},
       {&T::Away, kLookHover, false, true, 1},
       {&T::Click, kLookNormal, false, false, 2},
       {&T::Stick, kLookHover, false, true, 2},
       {&T::Unstick, kLookNormal, false, false, 2}});
}

TEST_F(ImageButtonTest, DisabledButtonIgnoresClicksAndMoves) {
  Run({{&T::Disable, kLookDisabled, false, false, 0},
       {&T::MoveOver, kLookDisabled, false, false, 0},
       {&T::Click, kLookDisabled, false, false, 0},
       {&T::Enable, kLookNormal, false, false, 0},
       {&T::Click, kLookNormal, false, false, 1}});
}

}  // namespace
}  // namespace typrosync

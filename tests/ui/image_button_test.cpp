#include <gtest/gtest.h>

#include <QCursor>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "ui/button_pictures.h"
#include "ui/cmd_button_xp.h"
#include "ui/radio.h"
#include "ui/yes_no.h"

namespace typrosync {
namespace {

bool SamePicture(const QPixmap& a, const QPixmap& b) {
  return !a.isNull() && a.toImage() == b.toImage();
}

class ImageButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = std::make_unique<QWidget>();
    host_->resize(300, 120);
    button_ = new cmdButtonXP(host_.get());
    button_->move(20, 20);
    host_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host_.get()));
    QCursor::setPos(host_->mapToGlobal(QPoint(250, 100)));  // away from the button
  }

  QWidget* Surface() const { return button_->pictNormal(); }
  QPoint Inside() const { return QPoint(5, 5); }
  QPoint Outside() const { return QPoint(Surface()->width() + 60, Surface()->height() + 40); }

  // A real move over the surface: the event and the cursor position.
  void MoveTo(const QPoint& local) { QTest::mouseMove(Surface(), local); }
  // The cursor leaves without any event reaching the button; only the timer can tell.
  void CursorAway() { QCursor::setPos(host_->mapToGlobal(QPoint(250, 100))); }
  // A double click as it arrives: press, release, double click, release.
  void DoubleClick() {
    QTest::mouseClick(Surface(), Qt::LeftButton, {}, Inside());
    QTest::mouseDClick(Surface(), Qt::LeftButton, {}, Inside());
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, Inside());
  }
  // Gives the 5 ms hover timer room for several ticks.
  static void Ticks() { QTest::qWait(40); }

  int16_t Look() const { return button_->Fields().m_iState; }
  bool Shows(int16_t look) const {
    return SamePicture(button_->pictNormal()->Picture(), button_->pictButtonXP(look));
  }

  std::unique_ptr<QWidget> host_;
  cmdButtonXP* button_ = nullptr;  // owned by host_
};

TEST_F(ImageButtonTest, StartsEnabledWithTheNormalLook) {
  EXPECT_TRUE(button_->Enabled());
  EXPECT_EQ(Look(), kLookNormal);
  EXPECT_TRUE(Shows(kLookNormal));
  EXPECT_EQ(button_->size(), button_->pictNormal()->size());
  EXPECT_FALSE(button_->Timer().isActive());
}

TEST_F(ImageButtonTest, HoverIsTrackedByTheTimerUntilTheCursorLeaves) {
  MoveTo(Inside());
  EXPECT_TRUE(button_->Timer().isActive());
  EXPECT_EQ(button_->Timer().interval(), 5);
  Ticks();
  EXPECT_EQ(Look(), kLookHover);
  EXPECT_TRUE(Shows(kLookHover));
  CursorAway();
  Ticks();
  EXPECT_EQ(Look(), kLookNormal);
  EXPECT_TRUE(Shows(kLookNormal));
  EXPECT_FALSE(button_->Fields().m_bHover);
  EXPECT_FALSE(button_->Timer().isActive());
}

TEST_F(ImageButtonTest, PressedLookWhileDownAndHoverLookWhenDraggedOff) {
  MoveTo(Inside());
  QTest::mousePress(Surface(), Qt::LeftButton, {}, Inside());
  Ticks();
  EXPECT_EQ(Look(), kLookPressed);
  QCursor::setPos(Surface()->mapToGlobal(Outside()));
  Ticks();
  EXPECT_EQ(Look(), kLookHover);
  EXPECT_TRUE(Shows(kLookHover));
  EXPECT_TRUE(button_->Timer().isActive());  // kept running while the button is down
  QSignalSpy clicks(button_, &cmdButtonXP::Click);
  QTest::mouseRelease(Surface(), Qt::LeftButton, {}, Outside());
  Ticks();
  EXPECT_EQ(clicks.count(), 0);  // released off the button: no click
  EXPECT_EQ(Look(), kLookNormal);
  EXPECT_FALSE(button_->Timer().isActive());
}

TEST_F(ImageButtonTest, ClickRaisesClickAndReturnsToNormal) {
  QSignalSpy clicks(button_, &cmdButtonXP::Click);
  MoveTo(Inside());
  Ticks();
  QTest::mouseClick(Surface(), Qt::LeftButton, {}, Inside());
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_EQ(Look(), kLookNormal);
  EXPECT_TRUE(Shows(kLookNormal));
  EXPECT_FALSE(button_->Fields().m_bBusy);
  EXPECT_FALSE(button_->Timer().isActive());
  EXPECT_TRUE(Surface()->isEnabled());
}

TEST_F(ImageButtonTest, SurfaceIsOffWhileTheHostHandlesAClick) {
  int clicks = 0;
  bool busy_inside = false;
  bool surface_enabled_inside = true;
  QObject::connect(button_, &cmdButtonXP::Click, [&] {
    ++clicks;
    busy_inside = button_->Fields().m_bBusy;
    surface_enabled_inside = Surface()->isEnabled();
    if (clicks == 1) QTest::mouseClick(Surface(), Qt::LeftButton, {}, Inside());  // ignored
  });
  QTest::mouseClick(Surface(), Qt::LeftButton, {}, Inside());
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(busy_inside);
  EXPECT_FALSE(surface_enabled_inside);
  EXPECT_TRUE(Surface()->isEnabled());
}

TEST_F(ImageButtonTest, DoubleClickRaisesDblClick) {
  QSignalSpy clicks(button_, &cmdButtonXP::Click);
  QSignalSpy double_clicks(button_, &cmdButtonXP::DblClick);
  DoubleClick();
  EXPECT_EQ(double_clicks.count(), 1);
  EXPECT_EQ(clicks.count(), 1);  // the first half of the double click
  EXPECT_EQ(Look(), kLookNormal);
}

TEST_F(ImageButtonTest, StickyButtonStaysPressedUntilTheSecondClick) {
  button_->StickyButton(true);
  button_->StickyStyle(kLookPressed);
  MoveTo(Inside());
  QTest::mouseClick(Surface(), Qt::LeftButton, {}, Inside());
  EXPECT_TRUE(button_->Fields().m_bDown);
  EXPECT_EQ(Look(), kLookPressed);
  CursorAway();
  MoveTo(Inside());  // hovering a stuck button shows it pressed as well
  Ticks();
  EXPECT_EQ(Look(), kLookPressed);
  CursorAway();
  Ticks();
  EXPECT_EQ(Look(), kLookPressed);
  EXPECT_TRUE(Shows(kLookPressed));

  QTest::mouseClick(Surface(), Qt::LeftButton, {}, Inside());
  EXPECT_FALSE(button_->Fields().m_bDown);
  EXPECT_EQ(Look(), kLookNormal);
  EXPECT_TRUE(Shows(kLookNormal));
}

TEST_F(ImageButtonTest, StuckButtonAwayFromTheMouseShowsItsStickyStyle) {
  button_->StickyButton(true);
  button_->StickyStyle(kLookHover);
  button_->StickButton();
  EXPECT_TRUE(button_->Fields().m_bDown);
  EXPECT_EQ(Look(), kLookHover);
  button_->ReleaseButton();
  EXPECT_FALSE(button_->Fields().m_bDown);
  EXPECT_FALSE(button_->Fields().m_bBusy);
  EXPECT_EQ(Look(), kLookNormal);
  EXPECT_TRUE(Shows(kLookNormal));
}

TEST_F(ImageButtonTest, DisabledButtonIgnoresClicksAndMoves) {
  QSignalSpy clicks(button_, &cmdButtonXP::Click);
  button_->Enabled(false);
  EXPECT_EQ(Look(), kLookDisabled);
  EXPECT_TRUE(Shows(kLookDisabled));
  MoveTo(Inside());
  EXPECT_FALSE(button_->Timer().isActive());
  DoubleClick();
  Ticks();
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(Look(), kLookDisabled);
  EXPECT_TRUE(Shows(kLookDisabled));

  button_->Enabled(true);
  EXPECT_EQ(Look(), kLookNormal);
  QTest::mouseClick(Surface(), Qt::LeftButton, {}, Inside());
  EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ImageButtonTest, EveryStyleLoadsItsFourLooksAndSize) {
  for (const int16_t style : kButtonStyles) {
    button_->ButtonStyle(style);
    const LookPictures& looks = StylePictures(style);
    EXPECT_EQ(button_->ButtonStyle(), style);
    EXPECT_EQ(button_->size(), looks[kLookNormal].size()) << "style " << style;
    for (int look = 0; look < kLookCount; ++look) {
      EXPECT_TRUE(SamePicture(button_->pictButtonXP(look), looks[static_cast<size_t>(look)]))
          << "style " << style << " look " << look;
    }
    EXPECT_TRUE(Shows(kLookNormal)) << "style " << style;
  }
}

TEST_F(ImageButtonTest, LooksAndStylesAreAllDifferent) {
  std::vector<QImage> normals;
  for (const int16_t style : kButtonStyles) {
    const LookPictures& looks = StylePictures(style);
    for (size_t a = 0; a < looks.size(); ++a) {
      for (size_t b = a + 1; b < looks.size(); ++b) {
        EXPECT_NE(looks[a].toImage(), looks[b].toImage()) << "style " << style;
      }
    }
    for (const QImage& other : normals) EXPECT_NE(other, looks[kLookNormal].toImage());
    normals.push_back(looks[kLookNormal].toImage());
  }
}

TEST_F(ImageButtonTest, UnknownStyleLoadsNothingButStillSizesTheControl) {
  button_->ButtonStyle(10);
  const QSize small = StylePictures(10)[kLookNormal].size();
  button_->resize(200, 200);
  button_->ButtonStyle(7);
  EXPECT_EQ(button_->ButtonStyle(), 7);
  EXPECT_EQ(button_->size(), small);
  EXPECT_TRUE(SamePicture(button_->pictButtonXP(kLookHover), StylePictures(10)[kLookHover]));
  EXPECT_TRUE(StylePictures(7)[kLookNormal].isNull());
}

TEST_F(ImageButtonTest, BackColorIsReadBlueGreenRed) {
  button_->BackColor(0x00336699);
  EXPECT_EQ(button_->pictNormal()->BackColor(), QColor(0x99, 0x66, 0x33));
  button_->ToolTip("Opslaan");
  EXPECT_EQ(button_->pictNormal()->toolTip(), "Opslaan");
}

TEST(ListButtonTest, YesNoTakesItsPicturesFromTheSmallImageList) {
  YesNo toggle;
  EXPECT_TRUE(SamePicture(toggle.pictButtonXP(kLookNormal), imgResourceSmall(2)));
  toggle.ButtonStyle(2);
  for (int look = 0; look < kLookCount; ++look) {
    EXPECT_TRUE(SamePicture(toggle.pictButtonXP(look), imgResourceSmall(5 + look)));
  }
  EXPECT_EQ(toggle.size(), imgResourceSmall(6).size());
  toggle.ButtonStyle(3);  // no such list style: pictures stay
  EXPECT_TRUE(SamePicture(toggle.pictButtonXP(kLookNormal), imgResourceSmall(6)));
}

TEST(ListButtonTest, YesNoStateThreePressesAndStaysDown) {
  YesNo toggle;
  EXPECT_EQ(toggle.ButtonDown(), 0);
  toggle.State(1);  // only 3 does anything
  EXPECT_EQ(toggle.State(), kLookNormal);
  toggle.State(3);
  EXPECT_EQ(toggle.State(), kLookPressed);
  EXPECT_EQ(toggle.ButtonDown(), -1);
  EXPECT_FALSE(toggle.Fields().m_bHover);
  EXPECT_FALSE(toggle.Fields().m_bMouseDown);
  EXPECT_TRUE(SamePicture(toggle.pictNormal()->Picture(), imgResourceSmall(4)));
}

TEST(ListButtonTest, RadioStateSetsAndClearsTheChoice) {
  Radio choice;
  EXPECT_TRUE(SamePicture(choice.pictButtonXP(kLookPressed), imgListRadio(4)));
  choice.State(3);
  EXPECT_EQ(choice.State(), kLookPressed);
  EXPECT_EQ(choice.ButtonDown(), -1);
  choice.State(2);  // nothing
  EXPECT_EQ(choice.State(), kLookPressed);
  choice.State(1);
  EXPECT_EQ(choice.State(), kLookNormal);
  EXPECT_EQ(choice.ButtonDown(), 0);
  EXPECT_TRUE(SamePicture(choice.pictNormal()->Picture(), imgListRadio(2)));
}

TEST(ListButtonTest, DisabledRadioIgnoresStateChanges) {
  Radio choice;
  choice.Enabled(false);
  choice.State(3);
  EXPECT_EQ(choice.State(), kLookDisabled);
  EXPECT_EQ(choice.ButtonDown(), -1);  // marked down, look unchanged
}

}  // namespace
}  // namespace typrosync

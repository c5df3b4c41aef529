#include "ui/c_message.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "qt_test_support.h"
#include "ui/application_info.h"
#include "ui/twips.h"

namespace typrosync {
namespace {

using test_support::ClickButton;
using test_support::ScriptModal;

// The captions of the buttons shown, joined by "|".
std::string VisibleCaptions(const FMessage& window) {
  QStringList captions;
  for (int i = 0; i < kMaxButtons; ++i)
    if (window.cmdButton(i)->isVisible()) captions << window.cmdButton(i)->text();
  return captions.join('|').toStdString();
}

class CMessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHelpHandler(
        [this](const QString& file, long topic) { help_ << file << QString::number(topic); });
  }
  void TearDown() override {
    SetHelpHandler(nullptr);
    SetAppHelpFile(QString());
    SetAppProductName(QString());
  }
  // Opens MsgBox, lets `inspect` look at the window, then clicks `index`.
  long Answer(const QString& prompt, long buttons, int index,
              const test_support::ModalStep& inspect) {
    ScriptModal({[&](FMessage& window) {
      inspect(window);
      ClickButton(window, index);
    }});
    return box_.MsgBox(prompt, buttons);
  }

  CMessage box_;
  QStringList help_;  // file and topic of each request for help
};

TEST_F(CMessageTest, EveryButtonOfEverySetReturnsItsResult) {
  struct Case {
    long buttons;
    const char* captions;
    std::vector<long> results;
    long icon;
    int default_index;
  };
  const Case cases[] = {
      {0, "OK", {1}, 0, 0},
      {1 + 16 + 256, "OK|Annuleren", {1, 2}, 16, 1},
      {2 + 48 + 512, "Afbreken|Opnieuw|Negeren", {3, 4, 5}, 48, 2},
      {3 + 64, "Ja|Nee|Annuleren", {6, 7, 2}, 64, 0},
      {4 + 32 + 256, "Ja|Nee", {6, 7}, 32, 1},
      {5 + 80, "Opnieuw|Annuleren", {4, 2}, 0, 0},  // 16 + 64 is no icon
      {6, "OK", {1}, 0, 0},                         // 6 and 7 act as 0
      {7 + 112, "OK", {1}, 0, 0},
  };
  for (const Case& c : cases) {
    for (size_t index = 0; index < c.results.size(); ++index) {
      SCOPED_TRACE(testing::Message() << "buttons " << c.buttons << " index " << index);
      const auto inspect = [&](FMessage& window) {
        EXPECT_EQ(VisibleCaptions(window), c.captions);
        EXPECT_EQ(window.picIcon()->isVisible() ? window.MessageIcon() : 0, c.icon);
        EXPECT_TRUE(window.cmdButton(c.default_index)->isDefault());
        EXPECT_EQ(window.windowTitle(), "typrosync");   // no title: the application's
        EXPECT_EQ(window.Layout().window_width, 5145);  // a short prompt: the minimum
        EXPECT_EQ(window.lblMessage()->x(), TwipsToPixels(c.icon != 0 ? 915 : 120));
        EXPECT_EQ(window.cmdButton(0)->x(), TwipsToPixels(*window.Layout().button_lefts[0]));
      };
      EXPECT_EQ(Answer("Klaar.", c.buttons, static_cast<int>(index), inspect), c.results[index]);
    }
  }
}

TEST_F(CMessageTest, HelpEscapeAndCloseLeaveTheWindowOpenUntilEnter) {
  SetAppHelpFile("oud.chm");
  ScriptModal({
      [](FMessage& window) {
        EXPECT_EQ(VisibleCaptions(window), "Ja|Nee|Annuleren|Help");
        EXPECT_EQ(window.windowTitle(), "Let op");
        EXPECT_TRUE(window.lblMessage()->alignment().testFlag(Qt::AlignRight));
        EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(AppHelpFile(), "typro.chm");
        ClickButton(window, 3);
        QTest::keyClick(&window, Qt::Key_Escape);
        window.close();
      },
      [](FMessage& window) { QTest::keyClick(&window, Qt::Key_Return); },  // the default
  });
  const long flags = 3 + 512 + 16384 + 65536 + 524288;  // right-aligned and top-most
  EXPECT_EQ(box_.MsgBox("Bestand bestaat al.", flags, "Let op", "typro.chm", 42), 2);
  EXPECT_EQ(help_, QStringList({"typro.chm", "42"}));
  EXPECT_EQ(AppHelpFile(), "oud.chm");
}

TEST_F(CMessageTest, LongerPromptsWidenTheWindowUpToTheMaximum) {
  const QString medium = "Het bestand kon niet worden verzonden naar de server van de leverancier";
  for (const QString& prompt : {medium, QString(400, 'W')}) {
    Answer(prompt, 16, 0, [&](FMessage& window) {
      const double text = QFontMetricsF(window.font()).horizontalAdvance(prompt) * TwipsPerPixel();
      const long width = window.Layout().window_width;
      EXPECT_NEAR(width, qMin(std::lround(text + 1095), 8715L), 1);  // icon 735, margins 360
      EXPECT_EQ(window.width(), TwipsToPixels(width - 60));     // 4 pixels of border at 15 twips
      EXPECT_EQ(window.lblMessage()->x(), TwipsToPixels(915));  // beside the icon
    });
  }
}

TEST_F(CMessageTest, ErrorWindowCopiesTheExactPromptAndAsksForHelp) {
  const QString prompt = "Fout 53 bij \"typro.ini\":\r\nBestand niet gevonden – één keer";
  QGuiApplication::clipboard()->setText("oud");
  SetAppProductName("TypRo Sync");
  SetAppHelpFile("app.chm");
  ScriptModal({
      [](FMessage& window) {
        EXPECT_EQ(VisibleCaptions(window), "Sluiten|Kopie|Help");
        EXPECT_EQ(window.windowTitle(), "TypRo Sync");
        EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        ClickButton(window, 1);
      },
      [&](FMessage& window) {
        EXPECT_EQ(QGuiApplication::clipboard()->text(), prompt);
        ClickButton(window, 2);
      },
      [](FMessage& window) { ClickButton(window, 0); },
  });
  box_.DisplayError(prompt, true, 7);
  EXPECT_EQ(help_, QStringList({"app.chm", "7"}));
}

}  // namespace
}  // namespace typrosync

#include "ui/c_message.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "modal_script.h"
#include "ui/application_info.h"
#include "ui/message_buttons.h"
#include "ui/twips.h"

namespace typrosync {
namespace {

struct HelpCall {
  QString file;
  long context;
};

class CMessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHelpHandler([this](const QString& file, long context) {
      help_calls_.push_back({file, context});
    });
  }
  void TearDown() override {
    SetHelpHandler(nullptr);
    SetAppHelpFile(QString());
    SetAppProductName(QString());
  }

  // Opens MsgBox, lets `inspect` look at the window, then clicks `index`.
  long AnswerMsgBox(long buttons, int index, const ModalStep& inspect = {},
                    const QString& prompt = "Doorgaan?", const QString& title = "Vraag") {
    ScriptModal({[&](FMessage& window) {
      if (inspect) inspect(window);
      ClickButton(window, index);
    }});
    return box_.MsgBox(prompt, buttons, title);
  }

  static std::vector<QString> VisibleCaptions(const FMessage& window) {
    std::vector<QString> captions;
    for (int i = 0; i < kMaxButtons; ++i) {
      if (window.cmdButton(i)->isVisible()) captions.push_back(window.cmdButton(i)->text());
    }
    return captions;
  }

  CMessage box_;
  std::vector<HelpCall> help_calls_;
};

TEST_F(CMessageTest, EveryButtonOfEverySetReturnsItsResult) {
  struct Case {
    long set;
    std::vector<QString> captions;
    std::vector<long> results;
  };
  const Case cases[] = {
      {0, {"OK"}, {1}},
      {1, {"OK", "Annuleren"}, {1, 2}},
      {2, {"Afbreken", "Opnieuw", "Negeren"}, {3, 4, 5}},
      {3, {"Ja", "Nee", "Annuleren"}, {6, 7, 2}},
      {4, {"Ja", "Nee"}, {6, 7}},
      {5, {"Opnieuw", "Annuleren"}, {4, 2}},
      {6, {"OK"}, {1}},  // 6 and 7 act as 0
      {7, {"OK"}, {1}},
  };
  for (const Case& c : cases) {
    for (size_t index = 0; index < c.results.size(); ++index) {
      std::vector<QString> shown;
      const long result = AnswerMsgBox(c.set, static_cast<int>(index),
                                       [&](FMessage& window) { shown = VisibleCaptions(window); });
      EXPECT_EQ(shown, c.captions) << "set " << c.set;
      EXPECT_EQ(result, c.results[index]) << "set " << c.set << " button " << index;
    }
  }
  EXPECT_EQ(box_.m_frmMessage(), nullptr);  // released after each call
}

TEST_F(CMessageTest, YesNoWithQuestionIconDefaultsToTheSecondButton) {
  bool icon_shown = false;
  bool no_is_default = false;
  bool yes_is_default = true;
  bool is_current_window = false;
  const long result = AnswerMsgBox(4 + 32 + 256, 1, [&](FMessage& window) {
    is_current_window = box_.m_frmMessage() == &window;
    icon_shown = window.picIcon()->isVisible() && !window.picIcon()->pixmap().isNull();
    no_is_default = window.cmdButton(1)->isDefault();
    yes_is_default = window.cmdButton(0)->isDefault();
  });
  EXPECT_TRUE(is_current_window);
  EXPECT_TRUE(icon_shown);
  EXPECT_TRUE(no_is_default);
  EXPECT_FALSE(yes_is_default);
  EXPECT_EQ(result, kResultNo);
}

TEST_F(CMessageTest, EnterPressesTheDefaultButton) {
  ScriptModal({[](FMessage& window) { QTest::keyClick(&window, Qt::Key_Return); }});
  EXPECT_EQ(box_.MsgBox("Opslaan?", 3 + 512), kResultCancel);
}

TEST_F(CMessageTest, HelpLeavesTheWindowOpenAndAsksForTheTopic) {
  SetAppHelpFile("oud.chm");
  std::vector<QString> shown;
  QString help_file_while_open;
  bool open_after_help = false;
  ScriptModal({
      [&](FMessage& window) {
        shown = VisibleCaptions(window);
        help_file_while_open = AppHelpFile();
        ClickButton(window, 3);
      },
      [&](FMessage& window) {
        open_after_help = window.isVisible();
        ClickButton(window, 1);
      },
  });
  const long result = box_.MsgBox("Bestand bestaat al.", 3 + 16384, "Let op", "typro.chm", 42);
  EXPECT_EQ(shown, (std::vector<QString>{"Ja", "Nee", "Annuleren", "Help"}));
  EXPECT_TRUE(open_after_help);
  ASSERT_EQ(help_calls_.size(), 1u);
  EXPECT_EQ(help_calls_[0].file, "typro.chm");
  EXPECT_EQ(help_calls_[0].context, 42);
  EXPECT_EQ(help_file_while_open, "typro.chm");
  EXPECT_EQ(AppHelpFile(), "oud.chm");
  EXPECT_EQ(result, kResultNo);
}

TEST_F(CMessageTest, EscapeAndCloseDoNotEndTheWindow) {
  bool still_open = false;
  ScriptModal({
      [](FMessage& window) {
        QTest::keyClick(&window, Qt::Key_Escape);
        window.close();
      },
      [&](FMessage& window) {
        still_open = window.isVisible();
        ClickButton(window, 0);
      },
  });
  EXPECT_EQ(box_.MsgBox("Gereed", 1), kResultOk);
  EXPECT_TRUE(still_open);
}

TEST_F(CMessageTest, TitleAlignmentAndTopMostFollowTheArguments) {
  QString title;
  Qt::Alignment alignment;
  bool top_most = false;
  const auto inspect = [&](FMessage& window) {
    title = window.windowTitle();
    alignment = window.lblMessage()->alignment();
    top_most = window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
  };
  ScriptModal({[&](FMessage& window) {
    inspect(window);
    ClickButton(window, 0);
  }});
  box_.MsgBox("Rechts", 524288 + 65536, "");
  EXPECT_EQ(title, "typrosync");  // the application's title
  EXPECT_TRUE(alignment.testFlag(Qt::AlignRight));
  EXPECT_TRUE(top_most);

  AnswerMsgBox(0, 0, inspect, "Links", "Eigen titel");
  EXPECT_EQ(title, "Eigen titel");
  EXPECT_TRUE(alignment.testFlag(Qt::AlignLeft));
  EXPECT_FALSE(top_most);
}

TEST_F(CMessageTest, WindowWidthFollowsThePromptWithinItsBounds) {
  struct Case {
    QString prompt;
    long buttons;
    long width;
  };
  const QString long_line(400, 'W');
  const Case cases[] = {
      {"Klaar.", 0, 5145},
      {"Klaar.", 64, 5145},
      {long_line, 0, 8715},
      {long_line, 16, 8715},
  };
  for (const Case& c : cases) {
    long width = 0;
    int client_pixels = 0;
    long border = 0;
    ScriptModal({[&](FMessage& window) {
      width = window.Layout().window_width;
      border = window.BorderAllowance();
      client_pixels = window.width();
      ClickButton(window, 0);
    }});
    box_.MsgBox(c.prompt, c.buttons);
    EXPECT_EQ(width, c.width) << c.prompt.left(10).toStdString();
    EXPECT_EQ(border, 60);  // 4 pixels at 15 twips each
    EXPECT_EQ(client_pixels, TwipsToPixels(c.width - border));
  }
}

TEST_F(CMessageTest, MediumPromptGivesItsOwnWidth) {
  // Wide enough to pass the minimum, narrow enough to stay below the maximum.
  const QString prompt = "Het bestand kon niet worden verzonden naar de server van AgroVision";
  long width = 0;
  long expected = 0;
  QRect label;
  ScriptModal({[&](FMessage& window) {
    width = window.Layout().window_width;
    const double text = QFontMetricsF(window.font()).horizontalAdvance(prompt) * TwipsPerPixel();
    expected = std::lround(text + 240 + window.BorderAllowance());
    label = window.lblMessage()->geometry();
    ClickButton(window, 0);
  }});
  box_.MsgBox(prompt, 0);
  ASSERT_GT(expected, 5145);
  ASSERT_LT(expected, 8715);
  EXPECT_NEAR(width, expected, 1);
  EXPECT_EQ(label.x(), TwipsToPixels(120));
  EXPECT_EQ(label.width(), TwipsToPixels(width - 240));
}

TEST_F(CMessageTest, ManyLinesMakeTheWindowTaller) {
  QStringList lines;
  for (int i = 1; i <= 12; ++i) lines << QString("Regel %1").arg(i);
  int short_height = 0;
  int tall_height = 0;
  QRect buttons;
  QRect label;
  AnswerMsgBox(
      0, 0, [&](FMessage& window) { short_height = window.height(); }, "Een regel");
  AnswerMsgBox(
      0, 0,
      [&](FMessage& window) {
        tall_height = window.height();
        buttons = window.picButtons()->geometry();
        label = window.lblMessage()->geometry();
      },
      lines.join("\r\n"));
  EXPECT_EQ(short_height, TwipsToPixels(kDesignClientHeight));
  EXPECT_GT(tall_height, short_height);
  EXPECT_EQ(buttons.bottom(), tall_height - 1);  // the panel stays along the bottom
  EXPECT_NEAR(buttons.top() - label.bottom() - 1, TwipsToPixels(kMinLabelGap), 1);
}

TEST_F(CMessageTest, ButtonsSitCentredWithTheirGap) {
  std::vector<int> lefts;
  AnswerMsgBox(2, 0, [&](FMessage& window) {
    for (int i = 0; i < 3; ++i) lefts.push_back(window.cmdButton(i)->x());
  });
  // 5145 wide: lefts 705, 1965 and 3225 twips.
  EXPECT_EQ(lefts,
            (std::vector<int>{TwipsToPixels(705), TwipsToPixels(1965), TwipsToPixels(3225)}));
}

TEST_F(CMessageTest, ErrorWindowCopiesTheExactPromptAndStaysOpen) {
  const QString prompt = "Fout 53 bij \"agrovision.ini\":\r\nBestand niet gevonden – één keer";
  QGuiApplication::clipboard()->setText("oud");
  SetAppProductName("TypRo Sync");
  std::vector<QString> shown;
  QString title;
  QString copied;
  bool open_after_copy = false;
  ScriptModal({
      [&](FMessage& window) {
        shown = VisibleCaptions(window);
        title = window.windowTitle();
        ClickButton(window, 1);
      },
      [&](FMessage& window) {
        open_after_copy = window.isVisible();
        copied = QGuiApplication::clipboard()->text();
        ClickButton(window, 0);
      },
  });
  box_.DisplayError(prompt);
  EXPECT_EQ(shown, (std::vector<QString>{"Sluiten", "Kopie"}));
  EXPECT_EQ(title, "TypRo Sync");
  EXPECT_TRUE(open_after_copy);
  EXPECT_EQ(copied, prompt);
  EXPECT_EQ(box_.m_sPrompt(), prompt);
  EXPECT_EQ(box_.m_frmError(), nullptr);
}

TEST_F(CMessageTest, ErrorWindowHelpAsksForItsTopicWithoutChangingTheHelpFile) {
  SetAppHelpFile("app.chm");
  QString title;
  bool critical_icon = false;
  bool top_most = false;
  ScriptModal({
      [&](FMessage& window) {
        title = window.windowTitle();
        critical_icon = window.MessageIcon() == kIconCritical && window.picIcon()->isVisible();
        top_most = window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        ClickButton(window, 2);
      },
      [&](FMessage& window) { ClickButton(window, 0); },
  });
  box_.DisplayError("Verbinding mislukt", true, 7);
  EXPECT_EQ(title, "typrosync");  // no product name: the title
  EXPECT_TRUE(critical_icon);
  EXPECT_TRUE(top_most);
  ASSERT_EQ(help_calls_.size(), 1u);
  EXPECT_EQ(help_calls_[0].file, "app.chm");
  EXPECT_EQ(help_calls_[0].context, 7);
}

}  // namespace
}  // namespace typrosync

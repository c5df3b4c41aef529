// Screenshots for the eye: a message window of every button set and every image
// button style in its four looks, saved as PNG files under the build folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QTest>
#include <memory>

#include "modal_script.h"
#include "ui/c_message.h"
#include "ui/cmd_button_xp.h"
#include "ui/radio.h"
#include "ui/yes_no.h"

namespace typrosync {
namespace {

QString GalleryPath(const QString& name) {
  QDir dir(TYPRO_UI_GALLERY_DIR);
  dir.mkpath(".");
  return dir.filePath(name);
}

void ExpectSaved(const QString& path, QSize size) {
  const QImage saved(path);
  EXPECT_FALSE(saved.isNull()) << path.toStdString();
  EXPECT_EQ(saved.size(), size) << path.toStdString();
}

TEST(GalleryTest, MessageWindowOfEveryButtonSet) {
  struct Shot {
    QString name;
    long buttons;
    QString prompt;
  };
  const Shot shots[] = {
      {"message-0-ok.png", 64, "De gegevens zijn verzonden."},
      {"message-1-ok-annuleren.png", 48, "Het instellingenbestand is niet volledig."},
      {"message-2-afbreken.png", 16, "De FTP-server meldt een fout:\n550 Bestand niet gevonden."},
      {"message-3-ja-nee-annuleren-help.png", 3 + 32 + 512 + 16384, "Wijzigingen opslaan?"},
      {"message-4-ja-nee.png", 4 + 32 + 256, "Doorgaan met de volgende klant?"},
      {"message-5-opnieuw.png", 5 + 48,
       "De verbinding is verbroken terwijl het bericht werd verzonden naar de server; "
       "probeer het opnieuw of annuleer de verzending."},
  };
  CMessage box;
  for (const Shot& shot : shots) {
    QSize size;
    ScriptModal({[&](FMessage& window) {
      size = window.size();
      window.grab().save(GalleryPath(shot.name));
      ClickButton(window, 0);
    }});
    box.MsgBox(shot.prompt, shot.buttons, "typrosync");
    ExpectSaved(GalleryPath(shot.name), size);
  }
  QSize size;
  ScriptModal({[&](FMessage& window) {
    size = window.size();
    window.grab().save(GalleryPath("error-window.png"));
    ClickButton(window, 0);
  }});
  box.DisplayError("Fout 12029 bij het verzenden: geen verbinding met de server.", true);
  ExpectSaved(GalleryPath("error-window.png"), size);
}

// Drives a button into each look the way a user would and grabs it.
class LookDriver {
 public:
  explicit LookDriver(ImageButton& button) : button_(button) {}

  QPixmap Grab(int16_t look) {
    QWidget* surface = button_.pictNormal();
    const QPoint inside(2, 2);
    if (look == kLookDisabled) button_.Enabled(false);
    if (look == kLookNormal) button_.Enabled(true);
    if (look == kLookHover) QTest::mouseMove(surface, inside);
    if (look == kLookPressed) QTest::mousePress(surface, Qt::LeftButton, {}, inside);
    QTest::qWait(20);
    EXPECT_EQ(button_.Fields().m_iState, look);
    QPixmap shot = button_.grab();
    if (look == kLookPressed) {
      QCursor::setPos(button_.window()->mapToGlobal(QPoint(0, 0)) - QPoint(50, 50));
      QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(-50, -50));
      QTest::qWait(20);
    }
    return shot;
  }

 private:
  ImageButton& button_;
};

// One row per button: its name, then its four looks.
QImage Sheet(const std::vector<std::pair<QString, std::array<QPixmap, kLookCount>>>& rows) {
  constexpr int kCell = 100;
  constexpr int kRow = 36;
  QImage sheet(80 + kCell * kLookCount, kRow * static_cast<int>(rows.size() + 1),
               QImage::Format_ARGB32);
  sheet.fill(QColor(0xec, 0xe9, 0xd8));
  QPainter p(&sheet);
  const char* heads[] = {"uit", "normaal", "hover", "ingedrukt"};
  for (int look = 0; look < kLookCount; ++look) {
    p.drawText(QRect(80 + look * kCell, 0, kCell, kRow), Qt::AlignCenter, heads[look]);
  }
  for (size_t r = 0; r < rows.size(); ++r) {
    const int top = kRow * static_cast<int>(r + 1);
    p.drawText(QRect(4, top, 76, kRow), Qt::AlignVCenter, rows[r].first);
    for (int look = 0; look < kLookCount; ++look) {
      const QPixmap& shot = rows[r].second[static_cast<size_t>(look)];
      p.drawPixmap(80 + look * kCell + (kCell - shot.width()) / 2, top + (kRow - shot.height()) / 2,
                   shot);
    }
  }
  return sheet;
}

template <typename Button>
std::array<QPixmap, kLookCount> FourLooks(QWidget& host, int16_t style) {
  auto* button = new Button(&host);  // owned by host
  button->move(10, 10);
  button->ButtonStyle(style);
  button->show();
  LookDriver driver(*button);
  std::array<QPixmap, kLookCount> looks;
  for (int16_t look = 0; look < kLookCount; ++look)
    looks[static_cast<size_t>(look)] = driver.Grab(look);
  delete button;
  return looks;
}

TEST(GalleryTest, EveryButtonStyleInItsFourLooks) {
  QWidget host;
  host.resize(200, 80);
  host.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  std::vector<std::pair<QString, std::array<QPixmap, kLookCount>>> rows;
  for (const int16_t style : kButtonStyles) {
    rows.emplace_back(QString("stijl %1").arg(style), FourLooks<cmdButtonXP>(host, style));
  }
  const QImage sheet = Sheet(rows);
  sheet.save(GalleryPath("button-styles.png"));
  ExpectSaved(GalleryPath("button-styles.png"), sheet.size());

  rows.clear();
  for (const int16_t style : {1, 2}) {
    rows.emplace_back(QString("YesNo %1").arg(style),
                      FourLooks<YesNo>(host, static_cast<int16_t>(style)));
    rows.emplace_back(QString("Radio %1").arg(style),
                      FourLooks<Radio>(host, static_cast<int16_t>(style)));
  }
  const QImage lists = Sheet(rows);
  lists.save(GalleryPath("list-buttons.png"));
  ExpectSaved(GalleryPath("list-buttons.png"), lists.size());
}

}  // namespace
}  // namespace typrosync

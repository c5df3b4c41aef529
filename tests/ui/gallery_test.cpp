// Screenshots for the eye: a message window of every button set and every image
// button style in its four looks, saved as PNG files under the build folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QPushButton>

#include "qt_test_support.h"
#include "ui/c_message.h"
#include "ui/cmd_button_xp.h"

namespace typrosync {
namespace {

void Save(const QImage& image, const QString& name) {
  const QDir dir(TYPRO_UI_GALLERY_DIR);
  dir.mkpath(".");
  EXPECT_TRUE(image.save(dir.filePath(name))) << name.toStdString();
}

// A pixel on the left edge of a button, halfway down, in the window's picture.
QRgb LeftEdge(const QImage& picture, FMessage& window, int index) {
  const QPushButton* button = window.cmdButton(index);
  return picture.pixel(button->mapTo(&window, QPoint(1, button->height() / 2)));
}

// Shoots the next message window that opens, then closes it with its first
// button. The default button (when the set has more than one) is framed
// unlike the buttons beside it.
void ShootNextWindow(const QString& name, int default_index = -1, int buttons = 1) {
  test_support::ScriptModal({[=](FMessage& window) {
    const QImage picture = window.grab().toImage();
    for (int other = 0; default_index >= 0 && other < buttons; ++other) {
      if (other == default_index) continue;
      EXPECT_NE(LeftEdge(picture, window, default_index), LeftEdge(picture, window, other))
          << name.toStdString() << " default " << default_index << " beside " << other;
    }
    Save(picture, name);
    test_support::ClickButton(window, 0);
  }});
}

TEST(GalleryTest, MessageWindowOfEveryButtonSet) {
  const std::pair<long, QString> shots[] = {
      {64, "De gegevens zijn verzonden."},
      {1 + 48, "Het instellingenbestand is niet volledig."},
      {2 + 16, "De FTP-server meldt een fout:\n550 Bestand niet gevonden."},
      {3 + 32 + 512 + 16384, "Wijzigingen opslaan?"},
      {4 + 32 + 256, "Doorgaan met de volgende klant?"},
      {5 + 48, "De verbinding is verbroken. Opnieuw proberen of de verzending annuleren?"},
  };
  CMessage box;
  const int kButtonCount[] = {1, 2, 3, 3, 2, 2};  // per button set
  for (const auto& [buttons, prompt] : shots) {
    const int count = kButtonCount[buttons & 7];
    ShootNextWindow(QString("message-%1.png").arg(buttons & 7), (buttons & 0x300) / 256, count);
    box.MsgBox(prompt, buttons, "typrosync");
  }
  ShootNextWindow("error-window.png");
  box.DisplayError("Fout 12029 bij het verzenden: geen verbinding met de server.", true);
}

// One row per style: its number, then the disabled, normal, hover and pressed
// pictures, the ones the button shows in those looks (image_button_test.cpp).
TEST(GalleryTest, EveryButtonStyleInItsFourLooks) {
  QImage sheet(480, 36 * static_cast<int>(kButtonStyles.size()), QImage::Format_ARGB32);
  sheet.fill(QColor(0xec, 0xe9, 0xd8));
  QPainter painter(&sheet);
  QWidget host;
  cmdButtonXP button(&host);
  std::vector<QImage> normals;
  for (size_t row = 0; row < kButtonStyles.size(); ++row) {
    const int16_t style = kButtonStyles[row];
    const int top = 36 * static_cast<int>(row);
    button.ButtonStyle(style);
    painter.drawText(QRect(4, top, 76, 36), Qt::AlignVCenter, QString("stijl %1").arg(style));
    std::array<QImage, kLookCount> looks;
    for (size_t look = 0; look < kLookCount; ++look) {
      looks[look] = button.pictButtonXP(static_cast<int>(look)).toImage();
      const QRect cell(80 + 100 * static_cast<int>(look), top, 100, 36);
      painter.drawImage(cell.center() - looks[look].rect().center(), looks[look]);
      for (size_t other = 0; other < look; ++other) EXPECT_NE(looks[look], looks[other]) << style;
    }
    for (const QImage& other : normals) EXPECT_NE(other, looks[kLookNormal]) << style;
    normals.push_back(looks[kLookNormal]);
  }
  painter.end();
  Save(sheet, "button-styles.png");
}

}  // namespace
}  // namespace typrosync

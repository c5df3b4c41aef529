// The window offscreen: its columns and rows, drawn to frm_main.png beside
// the other screenshots, and closing refused while the run is busy.

#include "run/frm_main.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>

#include "database/sqlite_engine.h"
#include "run/delivery_columns.h"

namespace typrosync {
namespace {

TEST(FrmMainTest, ColumnsRowsPictureAndClosing) {
  std::unique_ptr<Clock> clock = MakeSystemClock();
  std::unique_ptr<DatabaseEngine> engine = MakeSqliteEngine();
  FrmMain window;
  RunSequence run({*clock, *engine, "PC01", nullptr}, window);
  window.Load(run, "");
  window.resize(TwipsToPixelsAt(23000, window.logicalDpiX()), 420);
  window.show();
  DeliveryLine line{{"1001", "Boer Jansen", "Emmen", "MB1", "5 jan 2024", "10 jan 2024", "A1",
                     "Middel 5 l", "10", "2,50", "2,50", "NL-12345", "5001", "Crop-R klanten"},
                    "k1"};
  window.ShowDeliveryLines({line, line});
  window.SetStatus("Versturen van orders");
  window.SetProgress(40);
  QCoreApplication::processEvents();

  // Every column as the console shows it too: title, width (0: hidden) and alignment.
  QTreeWidget& list = window.lvwLeveringen();
  ASSERT_EQ(list.columnCount(), static_cast<int>(kDeliveryColumns.size()));
  ASSERT_EQ(list.topLevelItemCount(), 2);
  for (int i = 0; i < list.columnCount(); ++i) {
    const DeliveryColumn& column = kDeliveryColumns[static_cast<size_t>(i)];
    SCOPED_TRACE(column.title);
    EXPECT_EQ(list.headerItem()->text(i).toStdString(), column.title);
    EXPECT_EQ(list.isColumnHidden(i), column.width_twips == 0);
    EXPECT_EQ(column.width_twips > 0 ? list.columnWidth(i) : 0,
              TwipsToPixelsAt(column.width_twips, window.logicalDpiX()));
    EXPECT_EQ((list.topLevelItem(0)->textAlignment(i) & Qt::AlignRight) != 0,
              column.alignment == Alignment::kRight);
    EXPECT_EQ(list.topLevelItem(1)->text(i).toStdString(), line.columns[static_cast<size_t>(i)]);
  }
  EXPECT_EQ(list.topLevelItem(1)->checkState(0), Qt::Checked);
  EXPECT_EQ(list.topLevelItem(1)->data(0, Qt::UserRole).toString(), "k1");
  EXPECT_EQ(window.lblStatus().text(), "Versturen van orders");
  EXPECT_EQ(window.progressBar().value(), 40);
  QDir().mkpath(TYPRO_UI_GALLERY_DIR);
  EXPECT_TRUE(window.grab().save(TYPRO_UI_GALLERY_DIR "/frm_main.png"));

  run.state().bBezig = true;
  window.close();
  EXPECT_TRUE(window.isVisible());
  run.state().bBezig = false;
  window.close();
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace typrosync

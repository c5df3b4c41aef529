// The window offscreen: its columns, its rows, the header layout, closing
// while busy, and a whole run driven by its two timers.

#include "run/frm_main.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "database/sqlite_engine.h"
#include "orders/recording_doubles.h"
#include "orders/test_administration.h"

namespace typrosync {
namespace {

using testing::FakeClock;
using testing::OrderRegel;
using testing::RecordingBuilders;
using testing::TestAdministratie;

constexpr LocalDateTime kMoment{2024, 3, 1, 12, 30, 45};

// One QApplication for the program, destroyed at the end so that nothing
// it holds is reported as leaked.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_.data()); }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "frm_main_test";
  std::array<char*, 2> argv_{name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

class FrmMainTest : public ::testing::Test {
 protected:
  RunServices Services() {
    return RunServices{clock_, *engine_, "PC01", [](BuilderServices& s) {
                         return std::make_unique<RecordingBuilders>(s.state);
                       }};
  }

  FakeClock clock_{kMoment};
  std::unique_ptr<DatabaseEngine> engine_ = MakeSqliteEngine();
};

DeliveryLine Regel(const char* relnr, const char* artnr, const char* tag) {
  DeliveryLine line;
  const std::array<std::string, 14> cells = {
      relnr,        "Boer Jansen", "Emmen", "MB1",  "5 jan 2024", "10 jan 2024", artnr,
      "Middel 5 l", "10",          "2,50",  "2,50", "NL-12345",   "5001",        "Crop-R klanten"};
  line.columns = cells;
  line.tag = tag;
  return line;
}

TEST_F(FrmMainTest, ColumnsRowsAndPicture) {
  FrmMain window;
  window.resize(TwipsNaarPixels(23000, window.logicalDpiX()), 420);
  window.show();
  window.ShowDeliveryLines({Regel("1001", "A1", "k1"), Regel("1001", "A2", "k2")});
  window.SetStatus("Versturen van orders");
  window.SetProgress(40);
  QCoreApplication::processEvents();

  QTreeWidget& list = window.lvwLeveringen();
  ASSERT_EQ(list.columnCount(), kDeliveryColumnCount);
  for (int i = 0; i < kDeliveryColumnCount; ++i) {
    const DeliveryColumn& column = kDeliveryColumns[static_cast<size_t>(i)];
    SCOPED_TRACE(column.title);
    EXPECT_EQ(list.headerItem()->text(i).toStdString(), column.title);
    EXPECT_EQ(list.isColumnHidden(i), column.width_twips == 0);
    if (column.width_twips > 0) {
      EXPECT_EQ(list.columnWidth(i), TwipsNaarPixels(column.width_twips, window.logicalDpiX()));
    }
    const bool right = (list.topLevelItem(0)->textAlignment(i) & Qt::AlignRight) != 0;
    EXPECT_EQ(right, column.alignment == Alignment::kRight);
  }
  EXPECT_EQ(list.header()->visualIndex(12), 12);
  ASSERT_EQ(list.topLevelItemCount(), 2);
  EXPECT_EQ(list.topLevelItem(1)->text(6), "A2");
  EXPECT_EQ(list.topLevelItem(1)->checkState(0), Qt::Checked);
  EXPECT_EQ(list.topLevelItem(1)->data(0, Qt::UserRole).toString(), "k2");
  EXPECT_EQ(window.lblStatus().text(), "Versturen van orders");
  EXPECT_EQ(window.progressBar().value(), 40);

  const std::filesystem::path picture = std::filesystem::path(TYPRO_TEST_OUTPUT) / "frm_main.png";
  EXPECT_TRUE(window.grab().save(QString::fromStdString(picture.string())));
}

TEST_F(FrmMainTest, SavingIndicatorKeeps900TwipsFromTheRightEdge) {
  FrmMain window;
  for (int width : {700, 1100}) {
    window.resize(width, 400);
    window.show();
    QCoreApplication::processEvents();
    const auto labels = window.findChildren<QLabel*>();
    const QLabel* save = nullptr;
    for (const QLabel* label : labels) {
      if (!label->pixmap().isNull()) save = label;
    }
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(width - (save->x() + save->width()), TwipsNaarPixels(900, window.logicalDpiX()));
  }
}

TEST_F(FrmMainTest, TimersRunTheWholeSequenceAndTheWindowClosesItself) {
  TestAdministratie admin;
  admin.Gebruiker("Handel Korvath");
  admin.Groep(1, "Crop-R");
  admin.Artikel("A1", "NL-1");
  admin.Relatie("1001", "Boer", "X");
  admin.Order(OrderRegel{});
  admin.Meta("5001");
  FrmMain window;
  RunSequence run(Services(), window);
  window.Load(run, admin.DataMap());
  window.show();
  EXPECT_EQ(window.lblStatus().text(), "Geen activiteit.");
  for (int waited = 0; window.isVisible() && waited < 30000; waited += 20) QTest::qWait(20);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(run.outcome(), RunOutcome::kGereed);
  EXPECT_EQ(window.windowTitle(), "Handel Korvath - TallyraPro - AutoSync");
  EXPECT_EQ(window.lblStatus().text(), "Gereed");
  EXPECT_EQ(admin.Marks("5001")->second, "20240301123045");
}

TEST_F(FrmMainTest, ClosingIsRefusedWhileBusy) {
  FrmMain window;
  RunSequence run(Services(), window);
  window.Load(run, "");
  window.show();
  run.state().bBezig = true;
  window.close();
  EXPECT_TRUE(window.isVisible());
  run.state().bBezig = false;
  window.close();
  EXPECT_FALSE(window.isVisible());
}

TEST_F(FrmMainTest, MissingArgumentUnloadsAfterStartup) {
  FrmMain window;
  RunSequence run(Services(), window);
  window.Load(run, "");
  window.show();
  for (int waited = 0; window.isVisible() && waited < 5000; waited += 20) QTest::qWait(20);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(run.outcome(), RunOutcome::kNietGeopend);
}

}  // namespace
}  // namespace typrosync

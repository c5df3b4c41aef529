#include "qt_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace typrosync::test_support {
namespace {

class QtEnvironment : public ::testing::Environment {
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
    QCoreApplication::setApplicationName("typrosync");
  }
  void TearDown() override { app_.reset(); }

  int argc_ = 1;
  char name_[16] = "typro_ui_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

void RunStep(const std::shared_ptr<std::vector<ModalStep>>& steps, size_t next) {
  auto* window = qobject_cast<FMessage*>(QApplication::activeModalWidget());
  if (window == nullptr || !window->isVisible()) {
    ADD_FAILURE() << "no message window open for step " << next + 1;
    return;
  }
  (*steps)[next](*window);
  if (next + 1 < steps->size()) {
    QTimer::singleShot(30, [steps, next] { RunStep(steps, next + 1); });
    return;
  }
  QTimer::singleShot(10000, window, [window] {  // a watchdog, dropped with the window
    ADD_FAILURE() << "message window left open by the test";
    window->done(0);
  });
}

}  // namespace

void ScriptModal(std::vector<ModalStep> steps) {
  // The window's own event loop is the first to run once it is open.
  auto shared = std::make_shared<std::vector<ModalStep>>(std::move(steps));
  QTimer::singleShot(0, [shared] { RunStep(shared, 0); });
}

void ClickButton(FMessage& window, int index) {
  QPushButton* button = window.cmdButton(index);
  ASSERT_TRUE(button != nullptr && button->isVisible()) << "button " << index << " is hidden";
  QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace typrosync::test_support

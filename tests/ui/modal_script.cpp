#include "modal_script.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace typrosync {

namespace {

constexpr int kPollMs = 5;
constexpr int kStepGapMs = 30;
constexpr int kWatchdogMs = 10000;

FMessage* OpenModal() {
  auto* window = qobject_cast<FMessage*>(QApplication::activeModalWidget());
  return window != nullptr && window->isVisible() ? window : nullptr;
}

void RunStep(std::shared_ptr<std::vector<ModalStep>> steps, size_t next) {
  FMessage* window = OpenModal();
  if (window == nullptr) return;  // a previous step closed it
  (*steps)[next](*window);
  if (next + 1 < steps->size()) {
    QTimer::singleShot(kStepGapMs, [steps, next] { RunStep(steps, next + 1); });
  }
}

void StartWatchdog(FMessage* shown) {
  QTimer::singleShot(kWatchdogMs, shown, [window = QPointer<FMessage>(shown)] {
    if (window != nullptr && window->isVisible()) {
      ADD_FAILURE() << "message window left open by the test";
      window->done(0);
    }
  });
}

}  // namespace

void ScriptModal(std::vector<ModalStep> steps) {
  auto shared = std::make_shared<std::vector<ModalStep>>(std::move(steps));
  auto* poll = new QTimer(qApp);  // deletes itself once the window has shown
  poll->setInterval(kPollMs);
  QObject::connect(poll, &QTimer::timeout, [poll, shared] {
    FMessage* window = OpenModal();
    if (window == nullptr) return;
    poll->stop();
    poll->deleteLater();
    StartWatchdog(window);
    RunStep(shared, 0);
  });
  poll->start();
}

void ClickButton(FMessage& window, int index) {
  QPushButton* button = window.cmdButton(index);
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(button->isVisible()) << "button " << index << " is hidden";
  QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace typrosync

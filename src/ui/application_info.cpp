#include "ui/application_info.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVariant>
#include <QWidget>

namespace typrosync {

namespace {

constexpr const char* kProductNameProperty = "ProductName";
constexpr const char* kHelpContextProperty = "HelpContextID";

QString& HelpFileSetting() {
  static QString help_file;
  return help_file;
}

HelpHandler& HelpHandlerSetting() {
  static HelpHandler handler;
  return handler;
}

// The active window, or the open modal window when the platform reports none active.
QWidget* ActiveWindow() {
  if (QWidget* active = QApplication::activeWindow()) return active;
  return QApplication::activeModalWidget();
}

}  // namespace

QString AppTitle() { return QCoreApplication::applicationName(); }

QString AppProductName() {
  return qApp != nullptr ? qApp->property(kProductNameProperty).toString() : QString();
}

void SetAppProductName(const QString& name) {
  if (qApp != nullptr) qApp->setProperty(kProductNameProperty, name);
}

QString AppHelpFile() { return HelpFileSetting(); }

void SetAppHelpFile(const QString& help_file) { HelpFileSetting() = help_file; }

long HelpContextId(const QWidget* window) {
  return window != nullptr ? window->property(kHelpContextProperty).value<long>() : 0;
}

void SetHelpContextId(QWidget* window, long context) {
  window->setProperty(kHelpContextProperty, QVariant::fromValue(context));
}

void SetHelpHandler(HelpHandler handler) { HelpHandlerSetting() = std::move(handler); }

void ShowHelpTopic(const QWidget* window) {
  if (HelpHandlerSetting()) HelpHandlerSetting()(AppHelpFile(), HelpContextId(window));
}

void SendF1ToActiveWindow() {
  QWidget* window = ActiveWindow();
  if (window == nullptr) return;
  QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
  QCoreApplication::postEvent(target,
                              new QKeyEvent(QEvent::KeyRelease, Qt::Key_F1, Qt::NoModifier));
}

}  // namespace typrosync

#include "ui/application_info.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVariant>
#include <QWidget>

namespace typrosync {

namespace {

constexpr const char* kProductNameProperty = "ProductName";
constexpr const char* kHelpContextProperty = "HelpContextID";

// Application-wide like the help file of a program: every box of the process
// shows the same help, and a box may swap it for its own while it is open.
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
  // Without a handler F1 does nothing: an unattended run has no help viewer.
  if (HelpHandlerSetting()) HelpHandlerSetting()(AppHelpFile(), HelpContextId(window));
}

void SendF1ToActiveWindow() {
  QWidget* window = ActiveWindow();
  if (window == nullptr) return;
  QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
  // Posted, not sent: the button's click handler returns first, and the key
  // then reaches the window as if typed, hooks included.
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
  QCoreApplication::postEvent(target,
                              new QKeyEvent(QEvent::KeyRelease, Qt::Key_F1, Qt::NoModifier));
}

}  // namespace typrosync

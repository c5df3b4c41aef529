#pragma once
// The application-wide settings the message box works with: title, product name,
// help file, a window's help topic, and what asking for help does.

#include <QString>
#include <functional>

class QWidget;

namespace typrosync {

// The application's title (Qt's application name).
QString AppTitle();

// The product name; empty unless set. Kept as a property of the application object.
QString AppProductName();
void SetAppProductName(const QString& name);

// The application's help file; empty at start.
QString AppHelpFile();
void SetAppHelpFile(const QString& help_file);

// The help-topic number of a window (0 when never set).
long HelpContextId(const QWidget* window);
void SetHelpContextId(QWidget* window, long context);

// What F1 in a window does: called with the application's help file and the
// window's topic. Without a handler asking for help does nothing.
using HelpHandler = std::function<void(const QString& help_file, long context)>;
void SetHelpHandler(HelpHandler handler);
void ShowHelpTopic(const QWidget* window);

// Sends the key stroke F1 (press and release) to the active window, through the
// event queue as a typed key would arrive. Does nothing when no window is active.
void SendF1ToActiveWindow();

}  // namespace typrosync

#pragma once
// A Qt event seen as a window message: its number is the event type, and wParam and
// lParam carry what a handler may want to read or change. Key events: the key code
// and the modifiers. Mouse events: the buttons held and the position packed as
// y * 65536 + x. Other events: both 0.

#include <QEvent>
#include <memory>

class QWidget;

namespace typrosync {

struct HookMessage {
  long uMsg = 0;
  long wParam = 0;
  long lParam = 0;
  bool operator==(const HookMessage&) const = default;
};

HookMessage MessageOf(const QEvent& event);

// An event for `changed` when Qt can express it (a key event stays a key event, a
// mouse event a mouse event); nullptr when it cannot, so the original goes on.
std::unique_ptr<QEvent> EventFor(const QEvent& original, const HookMessage& changed,
                                 const QWidget& target);

}  // namespace typrosync

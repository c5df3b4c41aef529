#include "ui/hook_message.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace typrosync {

namespace {

bool IsKeyType(long type) { return type == QEvent::KeyPress || type == QEvent::KeyRelease; }

bool IsMouseType(long type) {
  return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
}

// A point travels in one number, y in the high and x in the low 16 bits,
// each signed, so a hook sees positions left of or above the window too.
long PackPoint(const QPoint& point) { return point.y() * 65536L + (point.x() & 0xffff); }

QPoint UnpackPoint(long packed) {
  const auto x = static_cast<int16_t>(packed & 0xffff);
  const auto y = static_cast<int16_t>((packed >> 16) & 0xffff);
  return {x, y};
}

// The text a typed key produces, so that a changed key also types its own character.
QString KeyText(int key, Qt::KeyboardModifiers modifiers) {
  if (key < 0x20 || key > 0x7e) return {};
  const QChar ch(key);
  return (modifiers & Qt::ShiftModifier) ? QString(ch.toUpper()) : QString(ch.toLower());
}

std::unique_ptr<QEvent> KeyEventFor(const HookMessage& m) {
  // A hook may have changed the key or its modifiers; the event is rebuilt
  // from what it left, not from the original.
  const auto modifiers = Qt::KeyboardModifiers::fromInt(static_cast<int>(m.lParam));
  const int key = static_cast<int>(m.wParam);
  return std::make_unique<QKeyEvent>(static_cast<QEvent::Type>(m.uMsg), key, modifiers,
                                     KeyText(key, modifiers));
}

std::unique_ptr<QEvent> MouseEventFor(const QMouseEvent& original, const HookMessage& m,
                                      const QWidget& target) {
  const QPointF local(UnpackPoint(m.lParam));
  const auto buttons = Qt::MouseButtons::fromInt(static_cast<int>(m.wParam));
  const auto type = static_cast<QEvent::Type>(m.uMsg);
  Qt::MouseButton button = Qt::NoButton;
  if (type != QEvent::MouseMove) {
    // The button that changed: the original one when it is still named, else the lowest held.
    button = buttons.testFlag(original.button())
                 ? original.button()
                 : static_cast<Qt::MouseButton>(buttons.toInt() & -buttons.toInt());
  }
  return std::make_unique<QMouseEvent>(type, local, target.mapToGlobal(local), button, buttons,
                                       original.modifiers());
}

}  // namespace

HookMessage MessageOf(const QEvent& event) {
  HookMessage m{static_cast<long>(event.type()), 0, 0};
  if (IsKeyType(m.uMsg)) {
    const auto& key = static_cast<const QKeyEvent&>(event);
    m.wParam = key.key();
    m.lParam = static_cast<long>(key.modifiers().toInt());
  } else if (IsMouseType(m.uMsg)) {
    const auto& mouse = static_cast<const QMouseEvent&>(event);
    m.wParam = static_cast<long>(mouse.buttons().toInt());
    m.lParam = PackPoint(mouse.position().toPoint());
  }
  return m;
}

std::unique_ptr<QEvent> EventFor(const QEvent& original, const HookMessage& changed,
                                 const QWidget& target) {
  const long type = original.type();
  // A change of kind (a key made into a click) has no Qt event to become:
  // nullptr tells the caller to pass the original on.
  if (IsKeyType(type) && IsKeyType(changed.uMsg)) return KeyEventFor(changed);
  if (IsMouseType(type) && IsMouseType(changed.uMsg)) {
    return MouseEventFor(static_cast<const QMouseEvent&>(original), changed, target);
  }
  return nullptr;
}

}  // namespace typrosync

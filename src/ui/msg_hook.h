#pragma once
// MsgHook: watches the events sent to one widget, optionally only a chosen set of
// event types. Before fires ahead of the widget's own handling and may change the
// message or cancel it (uMsg = 0) with a result; After fires once it has been handled.
// Connect to Before and After directly: their arguments are changed in place.

#include <QObject>
#include <vector>

class QWidget;

namespace typrosync {

class MsgHook : public QObject {
  Q_OBJECT

 public:
  MsgHook() = default;
  // Unhooks when still hooked: the record does not keep this object alive.
  ~MsgHook() override;
  MsgHook(const MsgHook&) = delete;
  MsgHook& operator=(const MsgHook&) = delete;

  // Starts watching for events [for given messages].
  // A second call moves the hook: the first widget gets its own handling back.
  void Hook(QWidget* hWnd, const std::vector<long>& uMsg = {});
  // Stops watching for events.
  void Unhook();

  // Raise Before and After with the same arguments (called by the common handler).
  void RaiseBefore(long& uMsg, long& wParam, long& lParam, long& retVal);
  void RaiseAfter(long& uMsg, long& wParam, long& lParam);

  // Number of the hook record in use; 0 when not hooked.
  long Slot() const { return slot_; }

 signals:
  // Fired before event occures; set uMsg=0 to cancel event.
  void Before(long& uMsg, long& wParam, long& lParam, long& retVal);
  // Fired after event occured.
  void After(long& uMsg, long& wParam, long& lParam);

 private:
  long slot_ = 0;
};

}  // namespace typrosync

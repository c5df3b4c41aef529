#pragma once
// modMsgHookProc: the table of hooked windows behind MsgHook. Hooking a widget puts a
// replacement procedure, a Qt event filter, in front of the widget's own event
// handling; for every watched event it raises the owner's Before, lets the previous
// handling run (with Before's changes), then raises After. Before may cancel an event
// by setting uMsg to 0 and choose the result (retVal != 0: the event counts accepted).
//
// Records 1 to 9 have fixed procedures that know their number; records from 10 up
// share one generic procedure that finds its record in the window collection under
// "H" & handle. The table starts with records 1 to 9 and doubles when full.

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace typrosync {

class MsgHook;

inline constexpr int kFilterSize = 257;
inline constexpr long kFixedProcedures = 9;

struct HookRecord {
  quintptr window_handle = 0;
  MsgHook* owner = nullptr;          // not owned; nullptr marks the record free
  long previous_procedure = 0;       // record hooked on the same window before, 0: its own handling
  QObject* own_procedure = nullptr;  // the replacement procedure (owned by the module)
  long message_count = 0;            // 0: every message is watched
  std::array<bool, kFilterSize> message_filter{};
  std::unique_ptr<std::unordered_map<std::string, bool>> message_set;
  QPointer<QWidget> window;  // the hooked widget while it lives
};

// Takes the lowest free record (doubling the table when none is free), hooks `hWnd`
// and returns the record number. Throws VbError 457 when a record from 10 up is
// taken for a window that already has one, and VbError 9 for a negative message.
long HookWindow(MsgHook& owner, QWidget* hWnd, const std::vector<long>& messages);

// Restores the window's previous handling and frees the record; 0 does nothing.
void UnhookWindow(long slot);

// The common handler: Before, the previous handling, After, for a watched event;
// the previous handling alone for any other. Returns the handling's result.
long HookProc(long slot, QWidget* hWnd, QEvent& event);

// Key of a window or a message in the collections: "H" and the number in decimal.
std::string WindowKey(const QWidget* hWnd);
std::string MessageKey(long uMsg);

// Inspection of the module state.
long HookTableUpperBound();  // 0 before the first hook
const HookRecord* HookRecordAt(long slot);
std::optional<long> WindowCollectionItem(const std::string& key);
const QObject* GenericProcedure();

}  // namespace typrosync

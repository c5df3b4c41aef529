#include "ui/mod_msg_hook_proc.h"

#include "common/vb_error.h"
#include "ui/hook_message.h"
#include "ui/msg_hook.h"

namespace typrosync {

namespace {

constexpr long kDuplicateKeyError = 457;
constexpr const char* kDuplicateKeyText =
    "Deze sleutel is al gekoppeld aan een element van deze verzameling";
// A chain of hooks on one window is short; the bound only guards against a cycle.
constexpr int kMaxChain = 1 << 16;

// Procedure of records 1 to 9: it knows its record number.
class FixedProcedure : public QObject {
 public:
  explicit FixedProcedure(long slot) : slot_(slot) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The event is always taken here; HookProc hands it on to the handling
    // that was in place before, so it is never delivered twice.
    HookProc(slot_, static_cast<QWidget*>(watched), *event);
    return true;
  }

 private:
  long slot_;
};

std::optional<long> LookUpWindow(const std::string& key);

// Procedure of records 10 and up: finds the record through the window collection;
// a window without one gets 0 and no handling at all.
class GenericProcedureObject : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = static_cast<QWidget*>(watched);
    if (const std::optional<long> slot = LookUpWindow(WindowKey(window))) {
      HookProc(*slot, window, *event);
    } else {
      event->setAccepted(false);
    }
    return true;
  }
};

struct ModuleState {
  std::vector<std::unique_ptr<HookRecord>> table;  // index 0 unused: records count from 1
  std::vector<std::unique_ptr<QObject>> fixed;
  std::unique_ptr<QObject> generic;
  std::unordered_map<std::string, long> windows;
};

// The hook table is module state by design: every hooked window of the
// process shares it, as the records and their procedures must.
ModuleState& State() {
  static ModuleState state;
  return state;
}

long UpperBound() { return static_cast<long>(State().table.size()) - 1; }

void Grow(long upper_bound) {
  auto& table = State().table;
  while (static_cast<long>(table.size()) <= upper_bound) {
    table.push_back(std::make_unique<HookRecord>());
  }
}

void CreateTable() {
  ModuleState& state = State();
  Grow(kFixedProcedures);
  for (long slot = 1; slot <= kFixedProcedures; ++slot) {
    state.fixed.push_back(std::make_unique<FixedProcedure>(slot));
    state.table[static_cast<size_t>(slot)]->own_procedure = state.fixed.back().get();
  }
  state.generic = std::make_unique<GenericProcedureObject>();
}

HookRecord& Record(long slot) { return *State().table.at(static_cast<size_t>(slot)); }

bool InUseOn(long slot, quintptr handle) {
  if (slot < 1 || slot > UpperBound()) return false;
  const HookRecord& record = Record(slot);
  // A record is in use while it has an owner; freed records keep their old
  // window handle, so the owner is what counts.
  return record.owner != nullptr && record.window_handle == handle;
}

long TakeFreeRecord() {
  for (long slot = 1; slot <= UpperBound(); ++slot) {
    if (Record(slot).owner == nullptr) return slot;
  }
  const long first_new = UpperBound() + 1;
  // Doubling keeps the growth rare; records never move (each is its own
  // allocation), so pointers handed out stay valid.
  Grow(UpperBound() * 2);
  return first_new;
}

// The hook now on top of `handle`: the one no other hook of the window chains to.
long TopHookOn(quintptr handle) {
  long top = 0;
  for (long slot = 1; slot <= UpperBound(); ++slot) {
    if (!InUseOn(slot, handle)) continue;
    bool covered = false;
    for (long other = 1; other <= UpperBound(); ++other) {
      // Chains link each hook to the one below it, so the top is the one no
      // other hook names as its previous.
      covered = covered || (other != slot && InUseOn(other, handle) &&
                            Record(other).previous_procedure == slot);
    }
    if (!covered) top = slot;
  }
  return top;
}

long FilterIndex(long uMsg) {
  const long index = uMsg % kFilterSize;  // keeps the sign, as Mod does
  if (index < 0) throw VbError::SubscriptOutOfRange();
  return index;
}

void SetMessages(HookRecord& record, const std::vector<long>& messages) {
  record.message_filter.fill(false);
  record.message_set = std::make_unique<std::unordered_map<std::string, bool>>();
  for (const long m : messages) {
    record.message_filter[static_cast<size_t>(FilterIndex(m))] = true;
    record.message_set->emplace(MessageKey(m), true);
  }
}

// The handling that was in place before hook `slot`: an older hook of the same
// window still in use, or the widget's own event handling.
long CallPrevious(long slot, QWidget* hWnd, QEvent& event) {
  const quintptr handle = Record(slot).window_handle;
  long previous = Record(slot).previous_procedure;
  // A hook removed from the middle leaves a gap: skip to the next one below
  // that is still in use on this window.
  for (int step = 0; previous != 0 && !InUseOn(previous, handle) && step < kMaxChain; ++step) {
    previous = Record(previous).previous_procedure;
  }
  if (InUseOn(previous, handle)) return HookProc(previous, hWnd, event);
  if (hWnd == nullptr) return 0;
  QObject* receiver = hWnd;  // event() is public on QObject
  return receiver->event(&event) ? 1 : 0;
}

bool IsWatched(const HookRecord& record, long uMsg) {
  if (record.message_count == 0) return true;
  // The filter table answers most messages at once; only a hit is confirmed in
  // the set, since several message numbers share one entry.
  if (!record.message_filter[static_cast<size_t>(FilterIndex(uMsg))]) return false;
  return record.message_set != nullptr && record.message_set->contains(MessageKey(uMsg));
}

// The previous handling with Before's changes, where Qt can express them.
long CallPreviousChanged(long slot, QWidget* hWnd, QEvent& event, const HookMessage& changed) {
  if (changed == MessageOf(event) || hWnd == nullptr) return CallPrevious(slot, hWnd, event);
  std::unique_ptr<QEvent> replacement = EventFor(event, changed, *hWnd);
  if (replacement == nullptr) return CallPrevious(slot, hWnd, event);
  // The window saw the replacement; the original event reports its outcome.
  const long result = CallPrevious(slot, hWnd, *replacement);
  event.setAccepted(replacement->isAccepted());
  return result;
}

std::optional<long> LookUpWindow(const std::string& key) {
  const auto& windows = State().windows;
  const auto it = windows.find(key);
  if (it == windows.end()) return std::nullopt;
  return it->second;
}

}  // namespace

std::string WindowKey(const QWidget* hWnd) {
  return "H" + std::to_string(reinterpret_cast<quintptr>(hWnd));
}

std::string MessageKey(long uMsg) { return "H" + std::to_string(uMsg); }

long HookWindow(MsgHook& owner, QWidget* hWnd, const std::vector<long>& messages) {
  // Created on the first hook, so a program that never hooks pays nothing.
  if (State().table.empty()) CreateTable();
  const long slot = TakeFreeRecord();
  const quintptr handle = reinterpret_cast<quintptr>(hWnd);
  // Records 1 to 9 have a procedure of their own; later ones share one, which
  // finds its record through the window, so such a window takes one hook only.
  if (slot >= 10) {
    if (!State().windows.emplace(WindowKey(hWnd), slot).second) {
      throw VbError(kDuplicateKeyError, kDuplicateKeyText);
    }
    Record(slot).own_procedure = State().generic.get();
  }
  HookRecord& record = Record(slot);
  record.message_count = static_cast<long>(messages.size());
  if (record.message_count != 0) SetMessages(record, messages);
  record.window_handle = handle;
  record.previous_procedure = TopHookOn(handle);
  record.owner = &owner;
  record.window = hWnd;
  if (hWnd != nullptr) hWnd->installEventFilter(record.own_procedure);
  return slot;
}

void UnhookWindow(long slot) {
  if (slot == 0) return;
  HookRecord& record = Record(slot);
  if (record.window != nullptr) record.window->removeEventFilter(record.own_procedure);
  record.owner = nullptr;
  record.message_filter.fill(false);
  record.message_set.reset();
  if (slot >= 10) {
    // By the handle kept in the record: the window itself may be gone by now.
    State().windows.erase("H" + std::to_string(record.window_handle));
  }
}

long HookProc(long slot, QWidget* hWnd, QEvent& event) {
  if (!IsWatched(Record(slot), static_cast<long>(event.type()))) {
    return CallPrevious(slot, hWnd, event);
  }
  MsgHook* owner = Record(slot).owner;
  HookMessage m = MessageOf(event);
  long retVal = 0;
  owner->RaiseBefore(m.uMsg, m.wParam, m.lParam, retVal);
  if (m.uMsg == 0) {
    // Cancelled: the window never sees it; retVal says whether it counts as handled.
    event.setAccepted(retVal != 0);
    return retVal;
  }
  retVal = CallPreviousChanged(slot, hWnd, event, m);
  owner->RaiseAfter(m.uMsg, m.wParam, m.lParam);
  return retVal;
}

long HookTableUpperBound() { return State().table.empty() ? 0 : UpperBound(); }

const HookRecord* HookRecordAt(long slot) {
  if (slot < 1 || slot > HookTableUpperBound()) return nullptr;
  return &Record(slot);
}

std::optional<long> WindowCollectionItem(const std::string& key) { return LookUpWindow(key); }

const QObject* GenericProcedure() { return State().generic.get(); }

}  // namespace typrosync

#include "ui/message_buttons.h"

namespace typrosync {

namespace {

struct SetRow {
  std::vector<QString> captions;
  std::vector<long> results;
};

SetRow RowFor(long set) {
  switch (set) {
    case 1:
      return {{"OK", "Annuleren"}, {kResultOk, kResultCancel}};
    case 2:
      return {{"Afbreken", "Opnieuw", "Negeren"}, {kResultAbort, kResultRetry, kResultIgnore}};
    case 3:
      return {{"Ja", "Nee", "Annuleren"}, {kResultYes, kResultNo, kResultCancel}};
    case 4:
      return {{"Ja", "Nee"}, {kResultYes, kResultNo}};
    case 5:
      return {{"Opnieuw", "Annuleren"}, {kResultRetry, kResultCancel}};
    // Unknown sets fall back to a lone OK, so a box can always be closed.
    default:  // 0, 6 and 7
      return {{"OK"}, {kResultOk}};
  }
}

}  // namespace

ButtonSet ButtonSetFor(long buttons) {
  SetRow row = RowFor(buttons & kButtonSetMask);
  ButtonSet set;
  set.captions = std::move(row.captions);
  set.results = std::move(row.results);
  set.closes.assign(set.captions.size(), true);
  // Help leaves the box open: it shows help and the question stays.
  if ((buttons & kHelpButtonFlag) != 0) {
    set.captions.emplace_back("Help");
    set.closes.push_back(false);
  }
  return set;
}

long ResultFor(const ButtonSet& set, long index) {
  // The Help button (and a box closed otherwise) gives no answer.
  if (index < 0 || static_cast<size_t>(index) >= set.results.size()) return kResultNone;
  return set.results[static_cast<size_t>(index)];
}

long IconFor(long buttons) {
  const long icon = buttons & kIconMask;
  switch (icon) {
    case kIconCritical:
    case kIconQuestion:
    case kIconExclamation:
    case kIconInformation:
      return icon;
    default:
      return 0;
  }
}

// The default button sits in its own bits, counted from 0 (256 is the second).
long DefaultButtonFor(long buttons) { return (buttons & kDefaultButtonMask) / 256; }

}  // namespace typrosync

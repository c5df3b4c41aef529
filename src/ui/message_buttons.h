#pragma once
// The button sets of the message box, chosen by the flags a caller passes as for the
// platform's standard message box, and the result code of each button.

#include <QString>
#include <vector>

namespace typrosync {

// Flags of the `Buttons` argument.
inline constexpr long kButtonSetMask = 7;
inline constexpr long kIconMask = 112;
inline constexpr long kDefaultButtonMask = 768;
inline constexpr long kHelpButtonFlag = 16384;
inline constexpr long kTopMostFlag = 65536;
inline constexpr long kRightAlignFlag = 524288;

// Icon values.
inline constexpr long kIconCritical = 16;
inline constexpr long kIconQuestion = 32;
inline constexpr long kIconExclamation = 48;
inline constexpr long kIconInformation = 64;

// Result codes.
inline constexpr long kResultNone = 0;
inline constexpr long kResultOk = 1;
inline constexpr long kResultCancel = 2;
inline constexpr long kResultAbort = 3;
inline constexpr long kResultRetry = 4;
inline constexpr long kResultIgnore = 5;
inline constexpr long kResultYes = 6;
inline constexpr long kResultNo = 7;

struct ButtonSet {
  std::vector<QString> captions;  // from index 0
  std::vector<bool> closes;       // same indexes: True closes the window
  std::vector<long> results;      // result code per closing button
};

// Captions, close flags and results for `Buttons`; the help flag adds a "Help"
// button after the others that does not close the window. Sets 6 and 7 act as 0.
ButtonSet ButtonSetFor(long buttons);

// Result code of the button at `index`; 0 when that index has no result.
long ResultFor(const ButtonSet& set, long index);

// Icon value of `Buttons` (16, 32, 48, 64), or 0 for any other combination.
long IconFor(long buttons);

// Default-button index (0 to 3) of `Buttons`.
long DefaultButtonFor(long buttons);

}  // namespace typrosync

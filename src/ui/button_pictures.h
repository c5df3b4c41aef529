#pragma once
// The pictures the image buttons show: thirteen push-button styles of four looks
// each, and the two image lists of the main window for the toggle and the radio
// button. All are drawn once, on first use, and shared afterwards.

#include <QPixmap>
#include <array>
#include <cstdint>
#include <vector>

namespace typrosync {

// Looks, the indexes of every picture array.
inline constexpr int16_t kLookDisabled = 0;
inline constexpr int16_t kLookNormal = 1;
inline constexpr int16_t kLookHover = 2;
inline constexpr int16_t kLookPressed = 3;
inline constexpr int kLookCount = 4;

using LookPictures = std::array<QPixmap, kLookCount>;

// The thirteen picture styles of cmdButtonXP.
inline constexpr std::array<int16_t, 13> kButtonStyles{1,  2,  3,  4,  5,  10, 11,
                                                       12, 13, 14, 15, 16, 30};

bool IsButtonStyle(int16_t style);

// The four looks of one style; an empty array for a value that is no style.
const LookPictures& StylePictures(int16_t style);

// The main window's image lists, 1-based as image lists are counted: images 1 to 4
// are style 1, images 5 to 8 style 2, each in look order. Index out of range: null.
const QPixmap& imgResourceSmall(int index);
const QPixmap& imgListRadio(int index);
inline constexpr int kImageListCount = 8;

}  // namespace typrosync

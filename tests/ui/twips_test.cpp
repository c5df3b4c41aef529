// Twips to pixels: 1440 twips an inch, whole pixels with halves to even, so
// the window's column widths and the message window land on the same pixels.

#include "ui/twips.h"

#include <gtest/gtest.h>

namespace typrosync {
namespace {

TEST(TwipsTest, WholePixelsWithHalvesToEven) {
  const struct {
    double twips, dpi;
    int pixels;
  } cases[] = {
      {1185, 96, 79}, {2750, 96, 183}, {2500, 96, 167},  // column widths
      {22.5, 96, 2},  {37.5, 96, 2},   {52.5, 96, 4},    // halves to even
      {18, 120, 2},   {30, 120, 2},    {1440, 144, 144},
      {15, 0, 1},  // no dpi known: 96
  };
  for (const auto& c : cases)
    EXPECT_EQ(TwipsToPixelsAt(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
}

}  // namespace
}  // namespace typrosync

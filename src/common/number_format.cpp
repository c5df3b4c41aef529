#include "common/number_format.h"

namespace typrosync {

int16_t TelTeken(std::string& text, std::string& ch) {
  if (ch.empty()) ch = "X";
  int16_t count = 0;
  for (char c : text) count += (ch.size() == 1 && c == ch[0]) ? 1 : 0;
  return count;
}

std::string FormatGetal(Variant& value, int16_t, bool) { return value.Text(); }

std::string NormaliseerGetal(Variant& value, int16_t& decimals, bool) {
  if (decimals == 0) decimals = 2;
  return value.Text();
}

std::string NormaliseerBedrag(Variant& value, bool, bool, bool) { return value.Text(); }

}  // namespace typrosync

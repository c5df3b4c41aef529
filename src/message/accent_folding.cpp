#include "message/accent_folding.h"

#include <array>
#include <unordered_map>

namespace typrosync {
namespace {

// clang-format off
// Code page 437, positions 128-255.
constexpr std::array<char32_t, 128> kCp437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 128
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 136
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 144
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,  // 152
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // 160
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // 168
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // 176
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // 184
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // 192
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // 200
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // 208
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // 216
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // 224
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  // 232
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // 240
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  // 248
};

// Replacements for positions 128-173; from 174 on everything is removed.
// nullptr marks the one position the table skips (155, the cent sign).
constexpr std::array<const char*, 46> kFoldedHigh = {
    "C", "u", "e", "a", "a", "a", "a", "c",  // 128 Ç ü é â ä à å ç
    "e", "e", "e", "i", "i", "i", "A", "A",  // 136 ê ë è ï î ì Ä Å
    "E", "ae", "AE", "o", "o", "o", "u", "u",  // 144 É æ Æ ô ö ò û ù
    "y", "O", "U", nullptr, "", "", "", "",  // 152 ÿ Ö Ü ¢ £ ¥ ₧ ƒ
    "a", "i", "o", "u", "n", "N", "", "",    // 160 á í ó ú ñ Ñ ª º
    "", "", "", "", "", "i",                 // 168 ¿ ⌐ ¬ ½ ¼ ¡
};
// clang-format on

using FoldingTable = std::unordered_map<char32_t, std::string_view>;

FoldingTable BuildFoldingTable() {
  FoldingTable table = {{U'"', "."}, {U'`', "."}, {U'<', "."}};
  for (size_t i = 0; i < kCp437High.size(); ++i) {
    if (i < kFoldedHigh.size() && kFoldedHigh[i] == nullptr) continue;
    table.emplace(kCp437High[i], i < kFoldedHigh.size() ? kFoldedHigh[i] : "");
  }
  return table;
}

}  // namespace

std::optional<std::string_view> FoldedForm(char32_t code) {
  static const FoldingTable table = BuildFoldingTable();
  const auto found = table.find(code);
  if (found == table.end()) return std::nullopt;
  return found->second;
}

char32_t Cp437Character(unsigned char position) {
  return position < 128 ? position : kCp437High[position - 128];
}

}  // namespace typrosync

#include "message/sepa_text.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "common/file_helpers.h"
#include "common/locale_settings.h"
#include "common/vb_error.h"
#include "message/accent_folding.h"
#include "message/utf8_decoder.h"

namespace typrosync {
namespace {

constexpr std::string_view kSepaTekens =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/-?:().,'+ ";
constexpr int kMaxVervangRondes = 401;

constexpr std::array<bool, 256> BuildSepaSet() {
  std::array<bool, 256> in_set{};
  for (char c : kSepaTekens) in_set[static_cast<unsigned char>(c)] = true;
  return in_set;
}
constexpr std::array<bool, 256> kInSepaSet = BuildSepaSet();

void ReplaceByte(std::string& text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
}

std::string KeepSepaCharacters(const std::string& text) {
  std::string kept;
  kept.reserve(text.size());
  for (char c : text) {
    if (kInSepaSet[static_cast<unsigned char>(c)]) kept += c;
  }
  return kept;
}

std::string TrimSpaceChars(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Counts the occurrences of `search` (left to right, no overlap).
size_t CountOccurrences(const std::string& text, const std::string& search) {
  size_t count = 0;
  for (size_t pos = text.find(search); pos != std::string::npos;
       pos = text.find(search, pos + search.size())) {
    ++count;
  }
  return count;
}

std::string ReplaceOnce(const std::string& text, const std::string& search,
                        const std::string& replacement) {
  std::string result;
  size_t from = 0;
  for (size_t pos = text.find(search); pos != std::string::npos; pos = text.find(search, from)) {
    result.append(text, from, pos - from).append(replacement);
    from = pos + search.size();
  }
  return result.append(text, from);
}

// The character at `index` (0-based) of a text, as its own UTF-8 text.
std::string CharacterAt(const std::string& text, size_t index) {
  const size_t begin = Utf8Offset(text, index);
  if (begin >= text.size()) return "";
  return text.substr(begin, DecodeUtf8At(text, begin).size);
}

}  // namespace

std::string MaakSepaTekst(std::string& sTekst, int16_t iMaxLengte) {
  ReplaceByte(sTekst, '&', ' ');
  ReplaceByte(sTekst, ';', ',');
  sTekst = VerwijderAccenten(sTekst);
  std::string result = TrimSpaceChars(KeepSepaCharacters(sTekst));
  if (iMaxLengte < 0) throw VbError(5, "Ongeldige procedure-aanroep of ongeldig argument");
  // Only SEPA characters are left, so bytes and characters coincide here.
  if (iMaxLengte > 0 && result.size() > static_cast<size_t>(iMaxLengte)) result.resize(iMaxLengte);
  return result;
}

std::string VerwijderAccenten(const std::string& sTekst) {
  // Control characters go first: removing them may join the bytes around
  // them, and the table must see the joined text.
  std::string text = sTekst;
  std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) < 32; });
  std::string folded;
  folded.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const Utf8Char ch = DecodeUtf8At(text, pos);
    const auto replacement = ch.valid ? FoldedForm(ch.code) : std::nullopt;
    if (replacement) {
      folded += *replacement;
    } else {
      folded.append(text, pos, ch.size);
    }
    pos += ch.size;
  }
  return folded;
}

std::string VervangAlles(std::string sTekst, const std::string& sZoek,
                         const std::string& sVervang) {
  if (sZoek.empty()) return sTekst;
  for (int round = 0; round < kMaxVervangRondes; ++round) {
    const size_t count = CountOccurrences(sTekst, sZoek);
    if (count == 0) break;
    // A replacement that holds the search text grows the text every round.
    if (sVervang.size() > sZoek.size() &&
        (sVervang.size() - sZoek.size()) >
            (kMaxTekstLengte - std::min(sTekst.size(), kMaxTekstLengte)) / count) {
      throw VbError(14, "Onvoldoende tekenreeksruimte");
    }
    sTekst = ReplaceOnce(sTekst, sZoek, sVervang);
  }
  return sTekst;
}

std::string OpmaakPostcode(std::string& sPostcode) {
  std::string sTest = VerwijderTeken(sPostcode.substr(0, Utf8Offset(sPostcode, 8)), gsSpatie);
  if (!IsNederlandsePostcode(sTest)) return sPostcode;
  sPostcode = VerwijderTeken(sPostcode, gsSpatie);
  if (CountUtf8Chars(sPostcode) != 6) return sPostcode;
  const size_t cijfers_eind = Utf8Offset(sPostcode, 4);
  return sPostcode.substr(0, cijfers_eind) + gsSpatie + sPostcode.substr(cijfers_eind);
}

bool IsNederlandsePostcode(std::string& sPostcode) {
  if (sPostcode.empty()) return false;
  std::erase(sPostcode, ' ');
  if (CountUtf8Chars(sPostcode) != 6) return false;
  for (size_t i = 0; i < 4; ++i) {
    if (!IsNumeriekeTekst(CharacterAt(sPostcode, i), false)) return false;
  }
  for (size_t i = 4; i < 6; ++i) {
    if (IsNumeriekeTekst(CharacterAt(sPostcode, i), false)) return false;
  }
  return true;
}

bool IsNumeriekeTekst(const std::string& sTekst, bool bAlleenCijfers) {
  if (sTekst.empty()) return false;
  for (size_t pos = 0; pos < sTekst.size();) {
    const size_t size = DecodeUtf8At(sTekst, pos).size;
    const std::string_view teken(sTekst.data() + pos, size);
    pos += size;
    if (size == 1 && teken[0] >= '0' && teken[0] <= '9') continue;
    if (bAlleenCijfers) return false;
    if (teken != gsDecimaalTekenGetal && teken != gsDuizendTekenGetal) return false;
  }
  return true;
}

}  // namespace typrosync

#include "message/sepa_text.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "common/file_helpers.h"
#include "common/locale_settings.h"
#include "common/utf8_decoder.h"
#include "common/utf8_text.h"
#include "common/vb_error.h"
#include "message/accent_folding.h"

namespace typrosync {
namespace {

// The SEPA character set: what every receiving platform accepts, and with no
// character that needs escaping in XML, since the message is built by plain
// concatenation.
constexpr std::string_view kSepaCharacters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/-?:().,'+ ";
// Replacing again until nothing is found ends for any search text that the
// replacement does not recreate; the cap ends the rest.
constexpr int kMaxReplaceRounds = 401;

constexpr std::array<bool, 256> BuildSepaSet() {
  std::array<bool, 256> in_set{};
  for (char c : kSepaCharacters) in_set[static_cast<unsigned char>(c)] = true;
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

// Counts the occurrences of `search` (left to right, no overlap).
size_t CountOccurrences(const std::string& text, const std::string& search) {
  size_t count = 0;
  for (size_t pos = text.find(search); pos != std::string::npos;
       pos = text.find(search, pos + search.size())) {
    ++count;
  }
  return count;
}

// One left-to-right pass; text created by a replacement is not searched
// again within the same pass.
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

}  // namespace

std::string MaakSepaTekst(std::string& sTekst, int16_t iMaxLengte) {
  // These two would otherwise vanish and glue words together or lose a
  // list's separators.
  ReplaceByte(sTekst, '&', ' ');
  ReplaceByte(sTekst, ';', ',');
  sTekst = VerwijderAccenten(sTekst);
  // The caller's text keeps the folded form, not the reduced one.
  std::string result = TrimSpaces(KeepSepaCharacters(sTekst));
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
    // Invalid bytes pass through here; the SEPA filter drops them later.
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

std::string VervangAlles(std::string sTekst, const std::string& search,
                         const std::string& replacement) {
  if (search.empty()) return sTekst;
  for (int round = 0; round < kMaxReplaceRounds; ++round) {
    const size_t count = CountOccurrences(sTekst, search);
    if (count == 0) break;
    // A replacement that holds the search text grows the text every round.
    if (replacement.size() > search.size() &&
        (replacement.size() - search.size()) >
            (kMaxTekstLengte - std::min(sTekst.size(), kMaxTekstLengte)) / count) {
      throw VbError(14, "Onvoldoende tekenreeksruimte");
    }
    sTekst = ReplaceOnce(sTekst, search, replacement);
  }
  return sTekst;
}

std::string OpmaakPostcode(std::string& postcode, const Separators& separators) {
  // Only the first eight characters are judged, so "1234 AB Dorp" is not
  // taken for a postcode and stays as it is.
  std::string candidate = VerwijderTeken(Utf8Left(postcode, 8), gsSpatie);
  if (!IsNederlandsePostcode(candidate, separators)) return postcode;
  postcode = VerwijderTeken(postcode, gsSpatie);
  if (Utf8Length(postcode) != 6) return postcode;
  return Utf8Left(postcode, 4) + gsSpatie + Utf8Right(postcode, 2);
}

bool IsNederlandsePostcode(std::string& postcode, const Separators& separators) {
  if (postcode.empty()) return false;
  std::erase(postcode, ' ');
  const std::vector<std::string_view> characters = Utf8Characters(postcode);
  if (characters.size() != 6) return false;
  for (size_t i = 0; i < 6; ++i) {
    // Four numeric characters, then two that are not.
    if (IsNumeriekeTekst(std::string(characters[i]), false, separators) != (i < 4)) return false;
  }
  return true;
}

bool IsNumeriekeTekst(const std::string& sTekst, bool bAlleenCijfers,
                      const Separators& separators) {
  if (sTekst.empty()) return false;
  // Separators count as numeric unless only digits are asked for; these
  // are the locale's number separators, which amounts never overwrite.
  for (std::string_view character : Utf8Characters(sTekst)) {
    if (character.size() == 1 && character[0] >= '0' && character[0] <= '9') continue;
    if (bAlleenCijfers) return false;
    if (character != separators.gsDecimaalTekenGetal &&
        character != separators.gsDuizendTekenGetal) {
      return false;
    }
  }
  return true;
}

}  // namespace typrosync

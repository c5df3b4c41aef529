#include "message/message_values.h"

#include <cmath>
#include <cstdint>

#include "common/date_format.h"
#include "common/number_text.h"
#include "message/sepa_text.h"
#include "message/utf8_decoder.h"

namespace typrosync {

std::string LeftChars(const std::string& text, size_t count) {
  return text.substr(0, Utf8Offset(text, count));
}

// Positions count characters from 1; 0 is taken as 1 instead of failing.
std::string MidChars(const std::string& text, size_t start, size_t count) {
  if (start == 0) start = 1;
  size_t begin = Utf8Offset(text, start - 1);
  size_t end = Utf8Offset(text, start - 1 + count);
  return text.substr(begin, end - begin);
}

std::string RightChars(const std::string& text, size_t count) {
  size_t length = CountUtf8Chars(text);
  return length <= count ? text : text.substr(Utf8Offset(text, length - count));
}

// Upper case only for ASCII and the Latin-1 letters; other scripts pass
// unchanged. The division sign (U+00F7) sits among the small letters but
// is no letter, so it keeps its form.
std::string UpperCaseLatin1(const std::string& text) {
  std::string result;
  result.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (c >= 'a' && c <= 'z') {
      result += static_cast<char>(c - 'a' + 'A');
    } else if (c == 0xC3 && next >= 0xA0 && next <= 0xBE && next != 0xB7) {
      result += static_cast<char>(c);  // à..þ to À..Þ: same lead byte
      result += static_cast<char>(next - 0x20);
      ++i;
    } else if (c == 0xC3 && next == 0xBF) {
      result += "\xC5\xB8";  // ÿ to Ÿ
      ++i;
    } else {
      result += static_cast<char>(c);
    }
  }
  return result;
}

std::string Clean(const std::string& value) {
  std::string copy = value;  // MaakSepaTekst changes its argument
  int16_t iMaxLengte = 0;
  return MaakSepaTekst(copy, iMaxLengte);
}

// Stored dates are yyyymmdd without a time; noon UTC stays on the same date
// when a reader converts it to any European time zone.
std::string MessageDate(const std::string& stored_date) {
  return LeftChars(stored_date, 4) + "-" + MidChars(stored_date, 5, 2) + "-" +
         MidChars(stored_date, 7, 2) + "T12:00:00Z";
}

std::string VoucherKey(const std::string& voucher, const std::string& order_nr) {
  // Both parts are padded or cut to 15 characters, so the key has a fixed
  // width and sorts as its parts do.
  static const std::string kZeros = "000000000000000";
  return RightChars(kZeros + voucher, 15) + RightChars(kZeros + order_nr, 15);
}

std::string LineNumber(const std::string& tag) {
  double nummer = RoundHalfEven(LeadingNumber(RightChars(tag, 4)));
  // Four characters hold at most an exponent form such as 9E99; only such a
  // value falls back to the number's own text.
  if (std::fabs(nummer) >= 1e15) return FormatDouble(nummer);
  return std::to_string(static_cast<int64_t>(nummer));
}

std::string MessageNumber(Clock& clock) {
  std::string datum = FormatMoment(clock.Now(), "yyyymmdd");
  std::string tijd = FormatMoment(clock.Now(), "hhmmss");
  return datum + tijd + "01";  // the sequence within one second is always 01
}

std::string SendDate(const std::string& nr) {
  return MidChars(nr, 1, 4) + "-" + MidChars(nr, 5, 2) + "-" + MidChars(nr, 7, 2) +
         "T" + MidChars(nr, 9, 2) + ":" + MidChars(nr, 11, 2) + ":" +
         MidChars(nr, 13, 2) + "Z";
}

// Only an exact OK element counts as acceptance; anything else, an error
// page included, leaves the orders unstamped so they go again next run.
bool IsOkAntwoord(const std::string& antwoord) {
  std::string lower = antwoord;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower == "<ok/>" || lower == "<ok />" || lower == "<ok>";
}

}  // namespace typrosync

#include "message/message_values.h"

#include <cmath>
#include <cstdint>

#include "common/date_format.h"
#include "common/number_text.h"
#include "common/utf8_text.h"
#include "message/sepa_text.h"

namespace typrosync {

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
  return Utf8Left(stored_date, 4) + "-" + Utf8Mid(stored_date, 5, 2) + "-" +
         Utf8Mid(stored_date, 7, 2) + "T12:00:00Z";
}

std::string VoucherKey(const std::string& voucher, const std::string& order_nr) {
  // Both parts are padded or cut to 15 characters, so the key has a fixed
  // width and sorts as its parts do.
  static const std::string kZeros = "000000000000000";
  return Utf8Right(kZeros + voucher, 15) + Utf8Right(kZeros + order_nr, 15);
}

std::string LineNumber(const std::string& tag) {
  double number = RoundHalfEven(LeadingNumber(Utf8Right(tag, 4)));
  // Four characters hold at most an exponent form such as 9E99; only such a
  // value falls back to the number's own text.
  if (std::fabs(number) >= 1e15) return FormatDouble(number);
  return std::to_string(static_cast<int64_t>(number));
}

std::string MessageNumber(Clock& clock) {
  std::string date = FormatMoment(clock.Now(), "yyyymmdd");
  std::string time = FormatMoment(clock.Now(), "hhmmss");
  return date + time + "01";  // the sequence within one second is always 01
}

std::string SendDate(const std::string& nr) {
  return Utf8Mid(nr, 1, 4) + "-" + Utf8Mid(nr, 5, 2) + "-" + Utf8Mid(nr, 7, 2) + "T" +
         Utf8Mid(nr, 9, 2) + ":" + Utf8Mid(nr, 11, 2) + ":" + Utf8Mid(nr, 13, 2) + "Z";
}

// Only an exact OK element counts as acceptance; anything else, an error
// page included, leaves the orders unstamped so they go again next run.
bool IsAcceptedReply(const std::string& reply) {
  std::string lower = reply;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower == "<ok/>" || lower == "<ok />" || lower == "<ok>";
}

}  // namespace typrosync

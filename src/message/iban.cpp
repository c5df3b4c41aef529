#include "message/iban.h"

#include <cstdint>
#include <string_view>

#include "common/utf8_decoder.h"
#include "common/utf8_text.h"
#include "common/vb_error.h"

namespace typrosync {
namespace {

// Separators people type inside an account number; they carry no digit.
constexpr std::string_view kIbanSeparators = "/:\\+-*";

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The number formed by the leading digits of the text; 0 without any.
// Called on at most five characters, so the number cannot overflow.
int32_t LeadingDigits(std::string_view text) {
  int32_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    number = number * 10 + (c - '0');
  }
  return number;
}

// Mid(text, 5) & Left(text, 4), by characters.
std::string MoveCountryToEnd(const std::string& text) {
  return Utf8Mid(text, 5) + Utf8Left(text, 4);
}

// Digits stay, letters a-z become 10-35, everything else is skipped.
std::string IbanDigits(const std::string& text) {
  std::string digits;
  for (char c : text) {
    const char lower = LowerAscii(c);
    if (lower >= '0' && lower <= '9') {
      digits += lower;
    } else if (lower >= 'a' && lower <= 'z') {
      digits += std::to_string(lower - 'a' + 10);
    }
  }
  return digits;
}

}  // namespace

bool IsSepaLandIban(const std::string& sTekst) {
  // Only a valid IBAN can be outside the SEPA countries; any other text is
  // given the benefit of the doubt.
  if (!IsGeldigeIban(sTekst)) return true;
  std::string country = Utf8Left(sTekst, 2);
  for (char& c : country) c = UpperAscii(c);
  return std::string_view(kSepaLanden).find("|" + country + "|") != std::string_view::npos;
}

bool IsGeldigeIban(std::string sTekst) {
  std::erase(sTekst, ' ');
  if (Utf8Length(sTekst) < 10) return false;
  for (char& c : sTekst) c = UpperAscii(c);
  std::erase_if(sTekst,
                [](char c) { return kIbanSeparators.find(c) != std::string_view::npos; });
  // The standard check: country and check digits to the end, letters as
  // numbers, remainder 1 after division by 97.
  std::string digits = IbanDigits(MoveCountryToEnd(sTekst));
  return RestNaDeling(digits, 97) == 1;
}

int16_t RestNaDeling(std::string& digits, int16_t divisor) {
  if (digits.empty()) digits.assign(1, '0');
  if (divisor == 0) throw VbError::DivisionByZero();
  // Each round replaces the first four characters of the text by the decimal
  // text of their remainder. The text is kept as that remainder (`remainder`) plus
  // the unread part of digits from `pos`, so a long number costs one pass.
  std::string remainder;
  size_t pos = 0;
  for (size_t count = Utf8Length(digits); count >= 6;) {
    size_t taken = remainder.size();  // the remainder is plain digits
    std::string piece = std::move(remainder);
    for (; taken < 4; ++taken) {
      const size_t size = DecodeUtf8At(digits, pos).size;
      piece.append(digits, pos, size);
      pos += size;
    }
    remainder = std::to_string(LeadingDigits(piece) % divisor);
    // An unchanged text would be reduced forever (only a divisor above 9999).
    if (remainder == piece) throw VbError(28, "Onvoldoende stackruimte");
    count = count - 4 + remainder.size();
  }
  return static_cast<int16_t>(LeadingDigits(remainder + digits.substr(pos)) % divisor);
}

}  // namespace typrosync

#include "common/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "common/vb_error.h"

namespace typrosync {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Removes trailing zeros (and a bare trailing comma) from a mantissa text.
void TrimFraction(std::string& digits) {
  if (digits.find(',') == std::string::npos) return;
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (!digits.empty() && digits.back() == ',') digits.pop_back();
}

std::string Exponent(int exponent) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return buffer;
}

}  // namespace

std::string FormatDouble(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
  if (value == 0) return "0";
  // 15 significant digits, then decide on plain or exponent form.
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  std::string text(buffer);
  const auto e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string mantissa = text.substr(0, e);
  const bool negative = mantissa[0] == '-';
  if (negative) mantissa.erase(0, 1);
  std::string digits = mantissa.substr(0, 1) + mantissa.substr(2);  // 15 digits
  std::string out;
  if (exponent >= 15 || exponent < -4) {
    out = digits.substr(0, 1) + "," + digits.substr(1);
    TrimFraction(out);
    out += Exponent(exponent);
  } else if (exponent >= 0) {
    out = digits.substr(0, exponent + 1) + "," + digits.substr(exponent + 1);
    TrimFraction(out);
  } else {
    out = "0," + std::string(-exponent - 1, '0') + digits;
    TrimFraction(out);
  }
  return negative ? "-" + out : out;
}

std::optional<double> TryParseNumber(std::string_view text) {
  size_t i = 0;
  size_t end = text.size();
  while (i < end && IsBlank(text[i])) ++i;
  while (end > i && IsBlank(text[end - 1])) --end;
  std::string plain;  // C-locale form for strtod
  if (i < end && (text[i] == '-' || text[i] == '+')) plain += text[i++];
  bool any_digit = false;
  for (; i < end && (IsDigit(text[i]) || text[i] == '.'); ++i) {
    if (text[i] == '.') continue;  // grouping point
    plain += text[i];
    any_digit = true;
  }
  if (i < end && text[i] == ',') {
    plain += '.';
    for (++i; i < end && IsDigit(text[i]); ++i) {
      plain += text[i];
      any_digit = true;
    }
  }
  if (!any_digit) return std::nullopt;
  if (i < end && (text[i] == 'E' || text[i] == 'e')) {
    plain += 'e';
    ++i;
    if (i < end && (text[i] == '-' || text[i] == '+')) plain += text[i++];
    bool exponent_digit = false;
    for (; i < end && IsDigit(text[i]); ++i) {
      plain += text[i];
      exponent_digit = true;
    }
    if (!exponent_digit) return std::nullopt;
  }
  if (i != end) return std::nullopt;
  const double value = std::strtod(plain.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

double ParseNumber(std::string_view text) {
  if (auto value = TryParseNumber(text)) return *value;
  throw VbError::TypeMismatch();
}

double LeadingNumber(std::string_view text) {
  std::string plain;
  size_t i = 0;
  auto skip_blanks = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  skip_blanks();
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) plain += text[i++];
  bool point = false;
  bool any_digit = false;
  for (skip_blanks(); i < text.size(); skip_blanks()) {
    if (IsDigit(text[i])) {
      plain += text[i++];
      any_digit = true;
    } else if (text[i] == '.' && !point) {
      plain += text[i++];
      point = true;
    } else {
      break;
    }
  }
  if (!any_digit) return 0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    std::string exponent = "e";
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) exponent += text[j++];
    bool exponent_digit = false;
    for (; j < text.size() && IsDigit(text[j]); ++j) {
      exponent += text[j];
      exponent_digit = true;
    }
    if (exponent_digit) plain += exponent;
  }
  const double value = std::strtod(plain.c_str(), nullptr);
  if (!std::isfinite(value)) throw VbError::Overflow();
  return value;
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

double RoundHalfAway(double value) { return std::round(value); }

double RoundDecimalHalfAway(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  // Round what the value's 15-digit text shows, so 2.675 (stored as
  // 2.67499999...) reaches 2.68 as its text promises.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", value * std::pow(10.0, decimals));
  return std::round(std::strtod(buffer, nullptr)) / std::pow(10.0, decimals);
}

int16_t ToInteger16(double value) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw VbError::Overflow();
  return static_cast<int16_t>(rounded);
}

int32_t ToLong32(double value) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw VbError::Overflow();
  return static_cast<int32_t>(rounded);
}

}  // namespace typrosync

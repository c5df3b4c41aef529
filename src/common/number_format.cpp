#include "common/number_format.h"

#include <cmath>
#include <optional>

#include "common/locale_settings.h"
#include "common/number_text.h"
#include "common/utf8_text.h"
#include "common/vb_error.h"

namespace typrosync {

namespace {

constexpr char kNoBreakSpace[] = "\xC2\xA0";
// Amounts and numbers are cut to their rightmost characters at these widths,
// which keeps absurdly long texts out of the message instead of failing.
constexpr size_t kAmountWidth = 20;
constexpr size_t kNumberWidth = 15;

// An empty separator (a locale without one) is found nowhere.
bool Contains(const std::string& s, const std::string& part) {
  return !part.empty() && s.find(part) != std::string::npos;
}

size_t Count(const std::string& s, const std::string& part) {
  if (part.empty()) return 0;
  size_t count = 0;
  for (size_t pos = s.find(part); pos != std::string::npos; pos = s.find(part, pos + part.size())) {
    ++count;
  }
  return count;
}

std::string ReplaceAll(std::string s, const std::string& from, const std::string& to) {
  if (from.empty()) return s;
  // Continues after the replacement, so a `to` that contains `from` cannot
  // loop forever.
  for (size_t pos = s.find(from); pos != std::string::npos; pos = s.find(from, pos + to.size())) {
    s.replace(pos, from.size(), to);
  }
  return s;
}

std::string RemoveAll(const std::string& s, const std::string& part) {
  return ReplaceAll(s, part, "");
}

// Replaces a doubled `part` by a single one until none is doubled.
std::string CollapseDoubled(std::string s, const std::string& part) {
  if (part.empty()) return s;
  const std::string doubled = part + part;
  while (s.find(doubled) != std::string::npos) s = ReplaceAll(s, doubled, part);
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool AllDigits(const std::string& s) {
  for (char c : s) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// The final pattern: whole numbers for -1, one to four fixed decimals.
std::string FormatDecimals(const std::string& result, int16_t decimals) {
  // Any other count leaves the text as NumberText made it.
  if (decimals < -1 || decimals > 4) return result;
  const auto number = TryParseNumber(result);
  if (!number) return result;
  return FormatFixed(*number, decimals == -1 ? 0 : decimals);
}

// The number texts over the run's separators. NormaliseerBedrag writes the
// pinned monetary separators into them, so every later text of the run sees
// the change.
struct NumberTexts {
  Separators& sep;

  std::string ZeroAmount() { return "0" + sep.gsDecimaalTeken + "00"; }

  // A single thousands separator followed by one or two characters was
  // meant as a decimal separator (12.5 and 12.50, but not 1.234).
  std::string TreatLoneGroupingAsDecimal(std::string s) {
    if (Count(s, sep.gsDuizendTeken) != 1 || Utf8Length(s) < 3) return s;
    const size_t pos = s.find(sep.gsDuizendTeken);
    const std::string after = s.substr(pos + sep.gsDuizendTeken.size());
    const size_t after_length = Utf8Length(after);
    if (after_length < 1 || after_length > 2 || Contains(after, sep.gsDecimaalTeken)) return s;
    return RemoveAll(s.substr(0, pos), sep.gsDecimaalTeken) + sep.gsDecimaalTeken + after;
  }

  // Grouping separators go after the lone-grouping check, which needs them;
  // a doubled decimal separator is a typing slip and counts once.
  std::string CleanSeparators(std::string s) {
    s = TreatLoneGroupingAsDecimal(std::move(s));
    s = RemoveAll(s, sep.gsDuizendTeken);
    return CollapseDoubled(std::move(s), sep.gsDecimaalTeken);
  }

  // A minus counts only in front: "12-" or a dash between digits must not
  // make the value negative.
  std::string KeepLeadingMinusOnly(const std::string& s) {
    if (s.empty()) return s;
    std::string out = s.substr(0, 1) + RemoveAll(s.substr(1), "-");
    return out == "-" ? "0" : out;
  }

  // Reads the sign; a negative number leaves its absolute value as text,
  // an unreadable text becomes "0". Returns whether the value was negative.
  bool TakeSign(std::string& s) {
    const auto number = TryParseNumber(s);
    if (!number) {
      s = "0";
      return false;
    }
    // The sign is put back by the caller in its own form (minus or brackets).
    if (*number < 0) {
      s = FormatDouble(-*number);
      return true;
    }
    return false;
  }

  // Inserts `separator` before every third character from the right, never in
  // front of the first one.
  std::string GroupThousands(const std::string& whole, const std::string& separator) {
    const auto characters = Utf8Characters(whole);
    std::string out;
    for (size_t i = 0; i < characters.size(); ++i) {
      if (i > 0 && (characters.size() - i) % 3 == 0) out += separator;
      out += characters[i];
    }
    return out;
  }

  // Exponent texts as their exact decimal value; a text that is no number
  // stays as it is (the sign step later makes it 0).
  std::string ExpandExponent(const std::string& s) {
    if (s.find('E') == std::string::npos) return s;
    return DecimalText(s).value_or(s);
  }

  // Adds the carry of rounded cents on the digit text, so that a long whole
  // part does not lose digits through a double.
  std::string IncrementWhole(const std::string& whole) {
    if (whole.empty() || !AllDigits(whole)) {
      return FormatDouble(TryParseNumber(whole).value_or(0) + 1);
    }
    std::string digits = whole;
    for (size_t i = digits.size(); i-- > 0;) {
      if (digits[i] != '9') {
        ++digits[i];
        return digits;
      }
      digits[i] = '0';
    }
    return "1" + digits;
  }

  // Rounds a fraction to two digits on its first three, halves away from zero;
  // returns the two digits and whether 1 carries into the whole part.
  std::string RoundFractionToCents(const std::string& fraction, bool& carry) {
    // Only the first three decimals count: 0,1249 rounds to 0,12 and 0,125
    // to 0,13, whatever digits follow.
    const std::string three = Utf8Left(fraction + "000", 3);
    const std::string as_number = Utf8Left(three, 2) + sep.gsDecimaalTeken + Utf8Mid(three, 3, 1);
    const double cents = RoundHalfAway(TryParseNumber(as_number).value_or(0));
    carry = cents >= 100;
    // A carry leaves 00 cents behind the incremented whole part.
    if (carry || cents <= 0) return "00";
    const std::string text = FormatDouble(cents);
    return text.size() == 1 ? "0" + text : text;
  }

  // NormaliseerBedrag up to the sign step: the text cleaned of spaces, signs
  // and separators; nullopt when it is empty.
  std::optional<std::string> PrepareAmountText(std::string s) {
    // ",50" and ".50" are half a unit; the leading 0 keeps the lone-grouping
    // rule from reading them as something else.
    if (Utf8Length(s) == 3 && (s.starts_with(sep.gsDecimaalTeken) || s.starts_with(sep.gsDuizendTeken))) {
      s = "0" + s;
    }
    // An exponent text with something behind a space ("1E3 kg") keeps only
    // the number in front.
    if (s.find('E') != std::string::npos) {
      const size_t space = s.find(' ');
      if (space != std::string::npos) s = TrimSpaces(s.substr(0, space));
      s = ExpandExponent(s);
    }
    s = RemoveAll(s, " ");
    // Several leading minus signs count as one.
    if (s.starts_with("-")) {
      const size_t digits = s.find_first_not_of('-');
      s = "-" + (digits == std::string::npos ? std::string() : s.substr(digits));
      s = CollapseDoubled(CollapseDoubled(std::move(s), sep.gsDuizendTeken), sep.gsDecimaalTeken);
    }
    // A bare sign with a separator is a negative nothing, not a parse failure.
    if (s == "-" + sep.gsDecimaalTeken || s == "-" + sep.gsDuizendTeken) s = "-0" + sep.gsDecimaalTeken;
    if (s.empty()) return std::nullopt;
    return KeepLeadingMinusOnly(CleanSeparators(std::move(s)));
  }

  bool OnlyAmountCharacters(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) {
      if (IsDigit(s[i]) || s[i] == '-') continue;
      if (!sep.gsDecimaalTeken.empty() && s.compare(i, sep.gsDecimaalTeken.size(), sep.gsDecimaalTeken) == 0) {
        i += sep.gsDecimaalTeken.size() - 1;
        continue;
      }
      return false;
    }
    return true;
  }

  // Keeps the text up to a second decimal separator.
  std::string CutAtSecondDecimal(const std::string& s) {
    const size_t first = s.find(sep.gsDecimaalTeken);
    if (first == std::string::npos) return s;
    return s.substr(0, s.find(sep.gsDecimaalTeken, first + sep.gsDecimaalTeken.size()));
  }

  std::string AmountWithSign(const std::string& grouped, const std::string& cents, bool negative,
                             bool brackets, bool whole_units, bool rounding) {
    // Negative amounts in brackets are written <1.234,56>, the form the
    // administration's own lists use; a plain minus otherwise.
    std::string result = rounding ? grouped : grouped + sep.gsDecimaalTeken + cents;
    if (whole_units) result = grouped;
    if (!negative) return result;
    if (brackets && whole_units) return "<" + grouped + ">";
    if (brackets) return "<" + result + ">";
    return "-" + result;
  }

  // NormaliseerGetal after its placeholders: the cleaned text with its decimals, or
  // "n/a" (returned at once when `out_of_range` is set).
  std::string NumberText(std::string s, const std::string& value_text, int16_t decimals,
                         bool allow_large, bool& out_of_range) {
    s = CleanSeparators(std::move(s));
    if (s == sep.gsDecimaalTeken) s = "0";
    // A text that starts with NUL comes from an uninitialised database field.
    if (!value_text.empty() && value_text[0] == '\0') s = "0";
    s = KeepLeadingMinusOnly(s);
    // Later decimal separators are dropped, the digits behind them kept.
    if (Count(s, sep.gsDecimaalTeken) > 1) {
      const size_t first = s.find(sep.gsDecimaalTeken) + sep.gsDecimaalTeken.size();
      s = s.substr(0, first) + RemoveAll(s.substr(first), sep.gsDecimaalTeken);
    }
    const bool negative = TakeSign(s);
    std::string result;
    if (Contains(s, sep.gsDecimaalTeken)) {
      const size_t pos = s.find(sep.gsDecimaalTeken);
      const std::string after = s.substr(pos + sep.gsDecimaalTeken.size());
      const std::string kept = decimals < 0 ? "" : Utf8Left(after + "000000", decimals);
      result = Utf8Right(s.substr(0, pos) + sep.gsDecimaalTeken + kept, kNumberWidth);
    } else {
      result = Utf8Right(s + sep.gsDecimaalTeken + "00", kNumberWidth);
      // Without a decimal part a value above 1000 is taken to be a code
      // or a mistake rather than a quantity.
      if (!allow_large && TryParseNumber(s).value_or(0) > 1000) {
        out_of_range = true;
        return "n/a";
      }
    }
    if (negative) {
      const double number = TryParseNumber(result).value_or(0);
      if (!allow_large && number > 10000) return "n/a";
      // A negative number is written as an amount, and so it pins the
      // separators just as NormaliseerBedrag does.
      Variant minus(-number);
      result = Amount(minus, false, false, false);
    }
    return result;
  }

  std::string Amount(Variant& value, bool brackets, bool whole_units, bool rounding) {
    const auto nothing = [&] { return whole_units ? std::string("0") : ZeroAmount(); };
    if (TrimSpaces(value.Text()).empty() || value.EqualsZero()) return nothing();
    std::string s = TrimSpaces(RemoveAll(value.Text(), kNoBreakSpace));
    if (s.empty()) return nothing();
    // Deliberately left changed for the rest of the run: amounts are read in
    // the Dutch form whatever the locale said, and every later number text
    // follows.
    sep.gsDecimaalTeken = ",";
    sep.gsDuizendTeken = ".";
    const auto prepared = PrepareAmountText(std::move(s));
    if (!prepared) return nothing();
    s = *prepared;
    // Letters or other signs left over: the text was no amount, and 0,00
    // is sent rather than a guess.
    if (!OnlyAmountCharacters(s) || s == sep.gsDecimaalTeken) return ZeroAmount();
    s = CutAtSecondDecimal(s);
    const bool negative = TakeSign(s);
    if (!Contains(s, sep.gsDecimaalTeken)) s = Utf8Right(s + sep.gsDecimaalTeken + "00", kAmountWidth);
    const size_t pos = s.find(sep.gsDecimaalTeken);
    std::string whole = s.substr(0, pos);
    if (whole.empty()) whole = "0";
    bool carry = false;
    const std::string cents = RoundFractionToCents(s.substr(pos + sep.gsDecimaalTeken.size()), carry);
    if (carry) whole = IncrementWhole(whole);
    const std::string amount = Utf8Right(whole + sep.gsDecimaalTeken + cents, kAmountWidth);
    // Rounding to whole units goes half to even on the already rounded cents.
    if (rounding) whole = FormatDouble(RoundHalfEven(TryParseNumber(amount).value_or(0)));
    const std::string grouped =
        Utf8Length(whole) >= 4 ? GroupThousands(whole, sep.gsDuizendTeken) : whole;
    return AmountWithSign(grouped, cents, negative, brackets, whole_units, rounding);
  }

  std::string Number(Variant& value, int16_t& decimals, bool allow_large) {
    // 0 decimals means "not given" here; the caller sees the 2 it became.
    // Percent signs and spaces are decoration around a number, never part of it.
    if (decimals == 0) decimals = 2;
    if (!value.IsNull()) value = Variant(RemoveAll(RemoveAll(value.Text(), "%"), gsSpatie));
    const std::string value_text = value.Text();
    std::string s = ExpandExponent(value_text);
    const std::string trimmed = TrimSpaces(value_text);
    std::string result;
    // The administration's own placeholders for a missing value.
    if (trimmed == "n/a" || trimmed == "(niet ingesteld)") {
      result = ZeroAmount();
    } else if (trimmed.empty()) {
      result = "0";
    } else if (value.EqualsZero()) {
      result = ZeroAmount();
    } else {
      bool out_of_range = false;
      result = NumberText(std::move(s), value_text, decimals, allow_large, out_of_range);
      if (out_of_range) return result;
    }
    return FormatDecimals(result, decimals);
  }

  std::string Format(Variant& value, int16_t decimals, bool grouping) {
    std::string result;
    try {
      if (TrimSpaces(value.Text()).empty()) value = Variant(0);
      if (decimals != 0) {
        result = Number(value, decimals, true);
      } else {
        // No decimals asked: the whole part, cut rather than rounded.
        result = FormatDouble(std::trunc(value.ToDouble()));
      }
      // Grouping works on the finished text, so it groups exactly the digits shown.
      if (!grouping) return result;
      const size_t pos =
          sep.gsDecimaalTeken.empty() ? std::string::npos : result.find(sep.gsDecimaalTeken);
      const std::string whole = result.substr(0, pos);
      const std::string fraction =
          pos == std::string::npos ? "" : result.substr(pos + sep.gsDecimaalTeken.size());
      std::string grouped = GroupThousands(whole, sep.gsDuizendTeken);
      // The minus counts as a character when grouping; "-.123" must lose the
      // separator that landed behind it.
      if (!sep.gsDuizendTeken.empty() && grouped.starts_with("-" + sep.gsDuizendTeken)) {
        grouped.erase(1, sep.gsDuizendTeken.size());
      }
      if (!fraction.empty()) grouped += sep.gsDecimaalTeken + fraction;
      result = grouped;
      return result;
    } catch (const VbError&) {
      // Any failure of the conversion itself gives 0; faults of the program
      // (std::bad_alloc and the like) are not failures of the number.
      value = Variant(0);
      return result;
    }
  }
};

}  // namespace

int16_t TelTeken(std::string& text, std::string& ch) {
  if (ch.empty()) ch = "X";
  int32_t count = 0;
  for (std::string_view character : Utf8Characters(text)) {
    if (character == ch) ++count;
  }
  // The count is a 16-bit integer to its callers; more is an overflow.
  if (count > 32767) throw VbError::Overflow();
  return static_cast<int16_t>(count);
}

std::string NormaliseerBedrag(Separators& separators, Variant& value, bool brackets,
                              bool whole_units, bool rounding) {
  return NumberTexts{separators}.Amount(value, brackets, whole_units, rounding);
}

std::string NormaliseerGetal(Separators& separators, Variant& value, int16_t& decimals,
                             bool allow_large) {
  return NumberTexts{separators}.Number(value, decimals, allow_large);
}

std::string FormatGetal(Separators& separators, Variant& value, int16_t decimals, bool grouping) {
  return NumberTexts{separators}.Format(value, decimals, grouping);
}

}  // namespace typrosync

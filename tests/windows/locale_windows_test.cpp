// Windows versions of the locale tests that switch the process locale on
// Linux. On Windows the month names and separators come from the user's
// regional settings, which ctest sets to Dutch through Wine (LC_ALL); the C
// runtime's locale may be anything and must change no text.

#include <windows.h>

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "common/date_format.h"
#include "common/locale_settings.h"
#include "common/number_text.h"
#include "common/run_log.h"
#include "common/test_support.h"
#include "common/variant.h"
#include "common/windows_text.h"
#include "windows/wide_temp_dir.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;

// The regional settings are Dutch in this program's ctest environment; a
// clear failure says so when they are not.
void RequireDutchRegionalSettings() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
  ASSERT_EQ(Utf8FromWide(name), "nl-NL") << "run with LC_ALL=nl_NL.UTF-8 under Wine";
}

TEST(WindowsDateFormatTest, MonthNamesFromTheRegionalSettings) {
  ASSERT_NO_FATAL_FAILURE(RequireDutchRegionalSettings());
  const LocalDateTime moment{2024, 3, 5, 7, 8, 9};
  EXPECT_EQ(FormatMoment(moment, "yyyymmdd hhmmss yyyy-mm"), "20240305 070809 2024-03");
  EXPECT_EQ(FormatMoment({987, 12, 31, 23, 59, 58}, "yyyymmdd_hhmmss"), "09871231_235958");
  EXPECT_EQ(FormatMoment({2024, 13, 1}, "[mmm]"), "[]");
  EXPECT_EQ(FormatMoment({2024, 0, 1}, "[mmm]"), "[]");
  std::string months;
  for (int month = 1; month <= 12; ++month) months += FormatMoment({2024, month, 1}, "mmm ");
  EXPECT_EQ(months, "jan feb mrt apr mei jun jul aug sep okt nov dec ");
}

// The separators follow the regional settings whatever the C runtime's
// locale; unknown items give "".
TEST(WindowsLocaleTest, DutchRegionalSettingsWhateverTheRuntimeLocale) {
  ASSERT_NO_FATAL_FAILURE(RequireDutchRegionalSettings());
  for (const char* runtime : {"C", "English_United States.1252"}) {
    std::setlocale(LC_ALL, runtime);
    const Separators read = ReadLocaleSeparators();
    EXPECT_EQ(read.gsDecimaalTeken + read.gsDuizendTeken + read.gsDecimaalTekenGetal +
                  read.gsDuizendTekenGetal,
              ",.,.")
        << runtime;
    EXPECT_EQ(GetLandinstelling(GetUserDefaultLCID(), kLocaleMonDecimalSep), ",") << runtime;
  }
  std::setlocale(LC_ALL, "C");
  for (long item : {0L, 0x0DL, 0x18L, -1L}) EXPECT_EQ(GetLandinstelling(0x400, item), "") << item;
}

// Number texts stay Dutch whichever locale the C runtime is switched to.
TEST(WindowsNumberTextTest, IndependentOfTheRuntimeLocale) {
  for (const char* runtime : {"English_United States.1252", "German_Germany.1252", "C"}) {
    ASSERT_NE(std::setlocale(LC_ALL, runtime), nullptr) << runtime;
    EXPECT_EQ(FormatDouble(1.5e-5), "1,5E-05") << runtime;
    EXPECT_DOUBLE_EQ(TryParseNumber("1.234,5").value_or(0), 1234.5) << runtime;
    EXPECT_DOUBLE_EQ(LeadingNumber("1.5"), 1.5) << runtime;
    EXPECT_EQ(FormatFixed(3.14159, 3), "3,142") << runtime;
    EXPECT_EQ(Variant(12.5).Text(), "12,5") << runtime;
  }
  std::setlocale(LC_ALL, "C");
}

using test_support::FakeClock;
using test_support::QuietUi;

// The monthly log in a Windows data folder ending in "\" with a name outside
// ASCII: each line with its own stamp in the regional settings' month names,
// lines ending in CR LF.
TEST(WindowsRunLogTest, LinesEmptyLinesErrorLinesAndMonths) {
  ASSERT_NO_FATAL_FAILURE(RequireDutchRegionalSettings());
  test_support::WideTempDir dir;
  const fs::path& folder = dir.path();
  FakeClock clock;
  QuietUi ui;
  std::ostringstream warnings;
  RunLog log(clock, ui, "PC01", warnings);
  log.SetDataMap(Utf8FromWide(folder.wstring()) + "\\");
  const auto read = [&](const wchar_t* name) {
    std::ifstream file(folder / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  };
  const std::string prefix = " : PC01            : BEHEER          : ";
  log.LogRegel(PadRechts("SYNC", 10) + ": Datapath        : C:\\Brenvik\\");
  clock.step = 1;
  log.LogRegel("");
  log.LogRegel("", 5, "Ongeldige procedureaanroep");
  EXPECT_EQ(read(L"typrosync-2024-03.log"),
            "05-mrt-2024 14:07:09" + prefix + "SYNC      : Datapath        : C:\\Brenvik\\\r\n" +
                "\r\n\r\n05-mrt-2024 14:07:11" + prefix +
                "ERROR     :  + Error        : 5 -> Ongeldige procedureaanroep\r\n");
  clock.now = {2024, 10, 31, 23, 59, 59};
  clock.step = 0;
  log.LogRegel("twee");
  EXPECT_EQ(read(L"typrosync-2024-10.log"), "31-okt-2024 23:59:59" + prefix + "twee\r\n");
  EXPECT_EQ(warnings.str(), "");
}

}  // namespace
}  // namespace typrosync

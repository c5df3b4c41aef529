// The Windows platform services on the real system calls (under Wine
// here): the run lock, the UTF-8/UTF-16 border, the locale's separators
// and the computer name.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/computer_name.h"
#include "common/locale_settings.h"
#include "common/run_log.h"
#include "common/windows_text.h"
#include "run/run_lock.h"
#include "run/stop_signal.h"
#include "windows/wide_temp_dir.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;

using test_support::WideTempDir;

TEST(WindowsTextTest, RoundTripsAndReplacesBrokenInput) {
  struct Case {
    std::string utf8;
    std::wstring wide;
  };
  const Case cases[] = {
      {"", L""},
      {"Brenvik", L"Brenvik"},
      {"C:\\Brenvik\\K\xc3\xb6rvath\\", L"C:\\Brenvik\\K\u00f6rvath\\"},
      {"\xe2\x82\xac 1,50", L"\u20ac 1,50"},
      {"\xf0\x9f\x8c\xb1", L"\xd83c\xdf31"},  // outside the BMP: a surrogate pair
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WideFromUtf8(c.utf8), c.wide) << c.utf8;
    EXPECT_EQ(Utf8FromWide(c.wide), c.utf8) << c.utf8;
  }
  EXPECT_EQ(WideFromUtf8("a\xff" "b"), L"a\ufffd" L"b");
  EXPECT_EQ(Utf8FromWide(std::wstring(L"a") + wchar_t(0xd800) + L"b"), "a\xef\xbf\xbd" "b");
}

TEST(WindowsRunLockTest, OneHolderAtATimeNamedByItsProcessId) {
  WideTempDir dir;
  const std::string pid = std::to_string(GetCurrentProcessId());
  {
    RunLock first(dir.utf8());
    ASSERT_EQ(first.state(), RunLockState::kHeld) << first.detail();
    RunLock second(dir.utf8());
    EXPECT_EQ(second.state(), RunLockState::kBusy);
    EXPECT_EQ(second.detail(), pid);
  }
  RunLock after(dir.utf8());
  EXPECT_EQ(after.state(), RunLockState::kHeld) << after.detail();
  EXPECT_EQ(after.path(), dir.utf8() + "typrosync.lock");
  std::ifstream file(dir.path() / L"typrosync.lock", std::ios::binary);
  const std::string content((std::istreambuf_iterator<char>(file)), {});
  EXPECT_EQ(content, pid + "\r\n");
}

TEST(WindowsRunLockTest, MissingFolderIsLeftToTheOpening) {
  WideTempDir dir;
  const RunLock lock(dir.utf8() + "ontbreekt/");
  EXPECT_EQ(lock.state(), RunLockState::kNoFolder);
  EXPECT_FALSE(lock.detail().empty());
}

TEST(WindowsStopSignalTest, ConsoleEventIsNotedNotFatal) {
  const auto request = InstallStopSignals();
  EXPECT_FALSE(request->StopRequested());
  // Ctrl+Break to this console's process group reaches the handler on its
  // own thread; the process must survive it.
  ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, 0) || GetLastError() != 0);
  for (int i = 0; i < 200 && !request->StopRequested(); ++i) Sleep(10);
  if (!request->StopRequested()) GTEST_SKIP() << "no console to send the event through";
  EXPECT_EQ(request->Reason(), "Gestopt door signaal CTRL_BREAK_EVENT");
}

TEST(WindowsComputerNameTest, NamesThisMachine) {
  const auto name = PlatformHostName();
  ASSERT_TRUE(name.has_value());
  EXPECT_FALSE(name->empty());
  EXPECT_EQ(GetComputerNaam(), ComputerNameFrom(name));
}

}  // namespace
}  // namespace typrosync

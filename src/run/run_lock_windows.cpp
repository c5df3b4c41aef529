#include <windows.h>

#include <cctype>

#include "common/windows_text.h"
#include "run/run_lock.h"

// The lock is LockFileEx on the whole file through a handle the process
// holds; Windows drops it when the handle closes or the process ends, so a
// killed run never blocks the next one. The handle is kept in fd_: kernel
// handles fit in 32 bits (HandleToLong/LongToHandle exist for this).

namespace typrosync {
namespace {

HANDLE AsHandle(int fd) { return LongToHandle(fd); }

std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text == nullptr ? L"" : text, length);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) {
    message.pop_back();
  }
  return message.empty() ? "Windows-fout " + std::to_string(error) : Utf8FromWide(message);
}

// The digits at the start of the lock file: the holder's process id. The
// holder locks the whole file, so it is read through a second handle that
// reads past the lock only where Windows allows it; otherwise "" (unknown).
std::string ReadHolder(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  char buffer[32] = {};
  DWORD got = 0;
  if (!ReadFile(file, buffer, sizeof buffer - 1, &got, nullptr)) got = 0;
  CloseHandle(file);
  std::string pid;
  for (DWORD i = 0; i < got && std::isdigit(static_cast<unsigned char>(buffer[i])); ++i) {
    pid += buffer[i];
  }
  return pid;
}

void WriteHolder(HANDLE file) {
  const std::string pid = std::to_string(GetCurrentProcessId()) + "\r\n";
  // The id only serves the message of a second run; failing to write it
  // does not weaken the lock.
  LARGE_INTEGER start = {};
  if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN) || !SetEndOfFile(file)) return;
  DWORD written = 0;
  WriteFile(file, pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr);
}

}  // namespace

RunLock::RunLock(const std::string& data_map) : path_(data_map + kRunLockFile) { Take(); }

RunLock::~RunLock() {
  if (fd_ >= 0) CloseHandle(AsHandle(fd_));
}

void RunLock::Take() {
  const std::wstring wide_path = WideFromUtf8(path_);
  // Shared read and write, so that a second run can open the file, find it
  // locked and read the holder's id.
  const HANDLE file = CreateFileW(wide_path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    state_ = error == ERROR_PATH_NOT_FOUND ? RunLockState::kNoFolder : RunLockState::kFailed;
    detail_ = SystemMessage(error);
    return;
  }
  // The lock covers one byte far past any content, so that the holder's id
  // at the start stays readable for the message of a second run.
  OVERLAPPED where = {};
  where.OffsetHigh = 0x7FFFFFFF;
  if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where)) {
    fd_ = HandleToLong(file);
    state_ = RunLockState::kHeld;
    WriteHolder(file);
    return;
  }
  const DWORD error = GetLastError();
  CloseHandle(file);
  state_ = error == ERROR_LOCK_VIOLATION ? RunLockState::kBusy : RunLockState::kFailed;
  detail_ = state_ == RunLockState::kBusy ? ReadHolder(wide_path) : SystemMessage(error);
}

}  // namespace typrosync

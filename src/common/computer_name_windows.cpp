#include "common/computer_name.h"

#include <windows.h>

#include "common/windows_text.h"

namespace typrosync {

std::optional<std::string> PlatformHostName() {
  // The DNS host name, as gethostname gives on Linux; the NetBIOS name would
  // be upper case and cut at 15 characters.
  DWORD size = 0;
  GetComputerNameExW(ComputerNameDnsHostname, nullptr, &size);
  if (size == 0) return std::nullopt;
  std::wstring name(size, L'\0');
  if (!GetComputerNameExW(ComputerNameDnsHostname, name.data(), &size)) return std::nullopt;
  name.resize(size);
  return Utf8FromWide(name);
}

}  // namespace typrosync

#pragma once
// Error numbers and texts of the FTP client. The numbers are those of the
// Windows internet functions the client's callers know; the descriptions are
// Dutch system texts, each ending in CR LF.

#include <cstdint>
#include <string>

namespace typrosync {

inline constexpr int32_t kErrorFileNotFound = 2;       // local file missing
inline constexpr int32_t kErrorAccessDenied = 5;       // local file not writable
inline constexpr int32_t kErrorInvalidHandle = 6;      // no open connection
inline constexpr int32_t kErrorNoMoreFiles = 18;       // directory search: no match
inline constexpr int32_t kErrorInvalidParameter = 87;  // a line break inside a name
inline constexpr int32_t kErrorInternetTimeout = 12002;
inline constexpr int32_t kErrorInternetExtendedError = 12003;  // the server said no
inline constexpr int32_t kErrorInternetInternalError = 12004;
inline constexpr int32_t kErrorInternetNameNotResolved = 12007;
inline constexpr int32_t kErrorInternetIncorrectUserName = 12013;
inline constexpr int32_t kErrorInternetIncorrectPassword = 12014;
inline constexpr int32_t kErrorInternetLoginFailure = 12015;
inline constexpr int32_t kErrorInternetOperationCancelled = 12017;
inline constexpr int32_t kErrorInternetCannotConnect = 12029;
inline constexpr int32_t kErrorInternetConnectionAborted = 12030;

// The Dutch description of an error number; empty for unknown numbers.
std::string FtpErrorDescription(int32_t number);

// "Foutmelding (" number ")" CR LF CR LF description.
std::string FtpErrorText(int32_t number);

}  // namespace typrosync

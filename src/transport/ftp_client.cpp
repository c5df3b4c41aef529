#include "transport/ftp_client.h"

#include "common/utf8_text.h"

#include <algorithm>
#include <fstream>
#include <utility>

#include "common/file_helpers.h"
#include "common/wildcard.h"
#include "transport/ftp_errors.h"
#include "transport/ftp_listing.h"
#include "transport/ftp_session.h"

namespace typrosync {
namespace {

// Sizes are reported in 32 bits; these two negatives can never be a size.
constexpr int32_t kSizeNotFound = -1;
constexpr int32_t kSizeFailure = -2;

// The text between the quotes of a "257" reply, with doubled quotes undone.
std::string QuotedPath(const std::string& reply) {
  size_t open = reply.find('"');
  if (open == std::string::npos) return "";
  std::string path;
  for (size_t i = open + 1; i < reply.size(); ++i) {
    if (reply[i] != '"') {
      path += reply[i];
    } else if (i + 1 < reply.size() && reply[i + 1] == '"') {
      path += '"';
      ++i;
    } else {
      break;
    }
  }
  return path;
}

// The low 32 bits of a size, as the directory search reports it.
int32_t LowSize(int64_t size) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(size)));
}

void SplitFolder(const std::string& path, std::string& folder, std::string& name) {
  size_t slash = path.rfind('/');
  folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  name = slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

cFTP::cFTP(FtpClientOptions options) : options_(std::move(options)) {}
cFTP::~cFTP() = default;

void cFTP::OnFileTransferProgress(FileTransferProgress handler) { progress_ = std::move(handler); }

std::string cFTP::GetLastErrorMessage() const { return last_error_message_; }

void cFTP::ClearLastErrorMessage() { last_error_message_.clear(); }

void cFTP::SetLastErrorMessage(int32_t lError) {
  last_error_message_ = FtpErrorText(lError);
  // The server's own words say more than the generic text; without them the
  // generic text stays, so a failure never leaves the text empty.
  if (lError == kErrorInternetExtendedError && !last_response_.empty()) {
    last_error_message_ = last_response_;
  }
}

bool cFTP::Fail(int32_t error, std::string response) {
  last_response_ = std::move(response);
  SetLastErrorMessage(error);
  return false;
}

bool cFTP::Check(const FtpStatus& status) {
  if (status.ok()) return true;
  return Fail(status.error, status.response);
}

bool cFTP::OpenConnection(const std::string& sServer, const std::string& sUser,
                          const std::string& sPassword) {
  session_.reset();
  // Going online needs no dialling here: the system is always online.
  FtpSessionSettings settings{sServer,
                              options_.port,
                              sUser,
                              sPassword,
                              connect_flags_ == kFtpModePassive,
                              options_.connect_timeout_ms,
                              options_.response_timeout_ms,
                              options_.min_rate_bytes_per_s,
                              options_.min_rate_window_ms};
  FtpStatus status;
  session_ = FtpSession::Open(settings, status);
  return Check(status);
}

void cFTP::CloseConnection() { session_.reset(); }

bool cFTP::RequireConnection() {
  if (session_) return true;
  return Fail(kErrorInvalidHandle, "");
}

bool cFTP::RunCommands(const std::vector<std::string>& commands) {
  if (!RequireConnection()) return false;
  // A line break would smuggle a second command onto the control connection.
  for (const std::string& command : commands) {
    if (command.find_first_of("\r\n") != std::string::npos) {
      return Fail(kErrorInvalidParameter, "");
    }
  }
  return Check(session_->Command(commands));
}

bool cFTP::RenameFTPFile(const std::string& sExisting, const std::string& sNewName) {
  return RunCommands({"RNFR " + sExisting, "RNTO " + sNewName});
}

bool cFTP::CreateFTPDirectory(const std::string& sDirectory) {
  return RunCommands({"MKD " + sDirectory});
}

bool cFTP::RemoveFTPDirectory(const std::string& sDirectory) {
  return RunCommands({"RMD " + sDirectory});
}

bool cFTP::DeleteFTPFile(const std::string& sRemote) { return RunCommands({"DELE " + sRemote}); }

bool cFTP::SetFTPDirectory(const std::string& sDir) { return RunCommands({"CWD " + sDir}); }

std::string cFTP::GetFTPDirectory() {
  if (!RequireConnection()) return "";
  std::string reply;
  if (!Check(session_->Command({"PWD"}, &reply))) return "";
  return QuotedPath(reply);
}

bool cFTP::SimpleFTPPutFile(const std::string& sLocal, const std::string& sRemote) {
  if (!RequireConnection()) return false;
  std::ifstream local(PathFromUtf8(sLocal), std::ios::binary);
  if (!local) return Fail(kErrorFileNotFound, "");
  FtpSession::ReadBlock read = [&local](char* buffer, size_t size) -> long {
    local.read(buffer, static_cast<std::streamsize>(size));
    return local.bad() ? -1 : static_cast<long>(local.gcount());
  };
  return Check(session_->Upload(sRemote, IsAscii(), read));
}

bool cFTP::SimpleFTPGetFile(const std::string& sLocal, const std::string& sRemote) {
  if (!RequireConnection()) return false;
  // The local file is opened at the first data, so a refused download
  // leaves an existing file untouched.
  std::ofstream local;
  bool open_failed = false;
  FtpSession::WriteBlock write = [&](const char* data, size_t size) {
    if (!OpenLocalForWriting(local, sLocal)) return !(open_failed = true);
    local.write(data, static_cast<std::streamsize>(size));
    return local.good();
  };
  FtpStatus status = session_->Download(sRemote, IsAscii(), write);
  if (open_failed) return Fail(kErrorAccessDenied, "");
  if (!Check(status)) return false;
  if (!OpenLocalForWriting(local, sLocal)) return Fail(kErrorAccessDenied, "");
  return true;
}

bool cFTP::OpenLocalForWriting(std::ofstream& local, const std::string& path) {
  if (!local.is_open()) local.open(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  return local.is_open() && local.good();
}

int32_t cFTP::GetFTPFileSize(const std::string& sFile) {
  if (!RequireConnection()) return kSizeFailure;
  std::string pattern = sFile;
  // The size is found through a folder listing, where a space in the name
  // would split the pattern; '?' matches it and any other one character.
  std::replace(pattern.begin(), pattern.end(), ' ', '?');
  std::string folder;
  std::string name;
  SplitFolder(pattern, folder, name);
  std::vector<FtpListEntry> entries;
  if (!ListFolder(folder, entries)) return kSizeFailure;
  for (const FtpListEntry& entry : entries) {
    if (MatchesWildcard(name, entry.name)) return LowSize(entry.size);
  }
  return kSizeNotFound;
}

// Machine listings where the server has them, Unix listings otherwise.
bool cFTP::ListFolder(const std::string& folder, std::vector<FtpListEntry>& entries) {
  std::string listing;
  FtpStatus status = session_->List(folder, "MLSD", listing);
  if (status.ok()) {
    entries = ParseMlsdListing(listing);
    return true;
  }
  listing.clear();
  status = session_->List(folder, "LIST", listing);
  if (!Check(status)) return false;
  entries = ParseUnixListing(listing);
  return true;
}

void cFTP::RaiseProgress(int32_t lCurrentBytes, int32_t lTotalBytes) {
  if (progress_) progress_(lCurrentBytes, lTotalBytes);
}

void cFTP::ProcessEvents() {
  if (options_.process_events) options_.process_events();
}

bool cFTP::FTPUploadFile(std::string& sLocal, std::string& sRemote) {
  // The caller's names are trimmed in place: it sees the names used.
  sLocal = TrimSpaces(sLocal);
  sRemote = TrimSpaces(sRemote);
  if (sLocal.empty() || sRemote.empty()) return false;
  if (!RequireConnection()) return false;
  std::ifstream local(PathFromUtf8(sLocal), std::ios::binary | std::ios::ate);
  if (!local) return Fail(kErrorFileNotFound, "");
  const int64_t total = local.tellg();
  local.seekg(0);
  UploadBlocks blocks;
  blocks.total = total;
  FtpSession::ReadBlock read = [&](char* buffer, size_t size) -> long {
    return NextUploadBlock(local, blocks, buffer, size);
  };
  if (!Check(session_->Upload(sRemote, IsAscii(), read))) return false;
  RaiseProgress(LowSize(total), LowSize(total));
  return true;
}

// Called by the transfer whenever it wants data: the block handed out before
// has then been sent, which is when its progress is reported.
long cFTP::NextUploadBlock(std::ifstream& local, UploadBlocks& blocks, char* buffer, size_t size) {
  if (blocks.full_block_pending) {
    blocks.full_block_pending = false;
    ProcessEvents();
    blocks.sent += kFtpBlockSize;
    RaiseProgress(LowSize(blocks.sent), LowSize(blocks.total));
  }
  int64_t full_blocks = blocks.total / kFtpBlockSize;
  int64_t want = 0;
  if (blocks.handed_out < full_blocks) {
    want = kFtpBlockSize;
    blocks.full_block_pending = true;
    ++blocks.handed_out;
  } else if (!blocks.remainder_sent && blocks.total % kFtpBlockSize != 0) {
    want = blocks.total % kFtpBlockSize;
    blocks.remainder_sent = true;
  }
  want = std::min<int64_t>(want, static_cast<int64_t>(size));
  if (want == 0) return 0;
  local.read(buffer, want);
  return local.gcount() == want ? static_cast<long>(want) : -1;
}

bool cFTP::FTPDownloadFile(std::string& sLocal, std::string& sRemote) {
  sLocal = TrimSpaces(sLocal);
  sRemote = TrimSpaces(sRemote);
  if (sLocal.empty() || sRemote.empty()) return false;
  // An empty or missing remote file is not downloaded at all, so no empty
  // local file replaces a good one.
  int32_t size = GetFTPFileSize(sRemote);
  if (size <= 0) return false;
  std::ofstream local;
  DownloadBlocks blocks;
  blocks.total = size;
  bool open_failed = false;
  FtpSession::WriteBlock write = [&](const char* data, size_t length) {
    if (!OpenLocalForWriting(local, sLocal)) return !(open_failed = true);
    return TakeDownloadBytes(local, blocks, data, length);
  };
  FtpStatus status = session_->Download(sRemote, IsAscii(), write);
  if (open_failed) return Fail(kErrorAccessDenied, "");
  if (!Check(status)) return false;
  if (!OpenLocalForWriting(local, sLocal)) return Fail(kErrorAccessDenied, "");
  // Full blocks were written as they came; the short last block waits in
  // the buffer until the transfer has succeeded.
  int64_t remainder =
      std::min<int64_t>(size % kFtpBlockSize, static_cast<int64_t>(blocks.buffer.size()));
  local.write(blocks.buffer.data(), remainder);
  local.close();
  if (!local) return Fail(kErrorAccessDenied, "");
  RaiseProgress(size, size);
  return true;
}

// Cuts the received bytes into 255-byte blocks, each written and reported;
// the counter starts at 1, so the reports read 256, 511, 766 and so on.
bool cFTP::TakeDownloadBytes(std::ofstream& local, DownloadBlocks& blocks, const char* data,
                             size_t length) {
  blocks.buffer.append(data, length);
  const int64_t full_blocks = blocks.total / kFtpBlockSize;
  while (blocks.done < full_blocks && blocks.buffer.size() >= kFtpBlockSize) {
    local.write(blocks.buffer.data(), kFtpBlockSize);
    if (!local) return false;
    blocks.buffer.erase(0, kFtpBlockSize);
    ++blocks.done;
    ProcessEvents();
    blocks.received += kFtpBlockSize;
    RaiseProgress(LowSize(blocks.received), blocks.total);
  }
  return true;
}

void cFTP::SetTransferASCII() { transfer_type_ = kFtpTransferAscii; }
void cFTP::SetTransferBinary() { transfer_type_ = kFtpTransferBinary; }
void cFTP::SetModeActive() { connect_flags_ = kFtpModeActive; }
void cFTP::SetModePassive() { connect_flags_ = kFtpModePassive; }

}  // namespace typrosync

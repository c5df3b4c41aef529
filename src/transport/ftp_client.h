#pragma once
// cFTP: a small FTP client keeping one control connection for its session.
// Every failing operation stores an error text ("Foutmelding (n)" CR LF CR LF
// and a description, n a WinINet error number; for 12003 the server's own
// reply lines) and returns its failure value. Successful operations never
// clear that text: callers clear it with ClearLastErrorMessage.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "transport/ftp_session.h"

namespace typrosync {

struct FtpListEntry;

// Transfer types and connect flags with their WinINet values.
inline constexpr int32_t kFtpTransferAscii = 1;
inline constexpr int32_t kFtpTransferBinary = 2;
inline constexpr int32_t kFtpModeActive = 0;
inline constexpr int32_t kFtpModePassive = 0x08000000;
// Block size of FTPUploadFile and FTPDownloadFile.
inline constexpr int kFtpBlockSize = 255;

struct FtpClientOptions {
  int port = 21;  // control port of OpenConnection
  long connect_timeout_ms = 60000;
  long response_timeout_ms = 30000;      // waiting for a reply or data
  std::function<void()> process_events;  // "let pending window messages be processed"
  long min_rate_bytes_per_s = kFtpMinRateBytesPerSecond;  // see ftp_session.h
  long min_rate_window_ms = kFtpMinRateWindowMs;
};

class cFTP {
 public:
  // FileTransferProgress(lCurrentBytes, lTotalBytes) of the block transfers.
  // The handler must not call back into this instance.
  using FileTransferProgress = std::function<void(int32_t lCurrentBytes, int32_t lTotalBytes)>;

  explicit cFTP(FtpClientOptions options = {});
  ~cFTP();
  cFTP(const cFTP&) = delete;
  cFTP& operator=(const cFTP&) = delete;

  void OnFileTransferProgress(FileTransferProgress handler);

  // The stored error text; empty when none or after clearing.
  std::string GetLastErrorMessage() const;
  void ClearLastErrorMessage();
  // Connects and logs in with the current mode on the configured port;
  // closes an earlier connection first.
  bool OpenConnection(const std::string& sServer, const std::string& sUser,
                      const std::string& sPassword);
  // Logs out and closes; without a connection nothing happens.
  void CloseConnection();
  // Whole-file upload with the current transfer type.
  bool SimpleFTPPutFile(const std::string& sLocal, const std::string& sRemote);
  bool RenameFTPFile(const std::string& sExisting, const std::string& sNewName);
  bool CreateFTPDirectory(const std::string& sDirectory);
  bool RemoveFTPDirectory(const std::string& sDirectory);
  bool DeleteFTPFile(const std::string& sRemote);
  // Block transfers of 255 bytes raising FileTransferProgress; both trim
  // spaces from their arguments in the caller's variables and return False
  // without error text when one is empty. Upload events: (255, total),
  // (510, total), ... per full block, then (total, total). Download events
  // count from 1: (256, size), (511, size), ..., then (size, size). A download
  // needs a remote size above 0 and replaces the local file.
  bool FTPUploadFile(std::string& sLocal, std::string& sRemote);
  bool FTPDownloadFile(std::string& sLocal, std::string& sRemote);
  // Whole-file download; an existing local file is replaced, and is left
  // untouched when the server refuses.
  bool SimpleFTPGetFile(const std::string& sLocal, const std::string& sRemote);
  // The server's current directory; empty on failure.
  std::string GetFTPDirectory();
  bool SetFTPDirectory(const std::string& sDir);
  // Size (low 32 bits) of the first entry matching sFile, a space matching any
  // character: -1 without error text when nothing matches, -2 with text on
  // other failures.
  int32_t GetFTPFileSize(const std::string& sFile);
  // Take effect at the next transfer (type) or the next OpenConnection (mode).
  void SetTransferASCII();
  void SetTransferBinary();
  void SetModeActive();
  void SetModePassive();

  int32_t TransferType() const { return transfer_type_; }
  int32_t ConnectFlags() const { return connect_flags_; }
  bool IsConnected() const { return session_ != nullptr; }

 private:
  struct UploadBlocks {
    int64_t total = 0;
    int64_t sent = 0;
    int64_t handed_out = 0;
    bool full_block_pending = false;
    bool remainder_sent = false;
  };
  struct DownloadBlocks {
    int32_t total = 0;
    int64_t received = 1;  // starts at 1: reports read 256, 511, ...
    int64_t done = 0;
    std::string buffer;
  };

  // Builds and stores the error text of `lError`; for 12003 the server's
  // last reply lines (`last_response_`) replace it.
  void SetLastErrorMessage(int32_t lError);
  bool Fail(int32_t error, std::string response);  // stores the text, returns false
  bool Check(const FtpStatus& status);             // Fail unless the status is ok
  bool RequireConnection();
  bool RunCommands(const std::vector<std::string>& commands);
  bool ListFolder(const std::string& folder, std::vector<FtpListEntry>& entries);
  static bool OpenLocalForWriting(std::ofstream& local, const std::string& path);
  long NextUploadBlock(std::ifstream& local, UploadBlocks& blocks, char* buffer, size_t size);
  bool TakeDownloadBytes(std::ofstream& local, DownloadBlocks& blocks, const char* data,
                         size_t length);
  void RaiseProgress(int32_t lCurrentBytes, int32_t lTotalBytes);
  void ProcessEvents();
  bool IsAscii() const { return transfer_type_ == kFtpTransferAscii; }

  FtpClientOptions options_;
  std::unique_ptr<FtpSession> session_;  // the connection; null when closed
  int32_t transfer_type_ = kFtpTransferAscii;
  int32_t connect_flags_ = kFtpModeActive;
  std::string last_error_message_;
  std::string last_response_;  // reply lines of the last failing command
  FileTransferProgress progress_;
};

}  // namespace typrosync

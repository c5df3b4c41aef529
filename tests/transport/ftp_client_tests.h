#pragma once
// What the FTP client must do over both sessions (the own one on Linux,
// WinINet on Windows), against the same local FTP servers. Each platform
// instantiates the suite with its Servers type, which has:
//   int Port(kind), std::string Root(kind): a server and the folder it
//     serves as "/" (ending in "/"), by kind: "" (full rights), "SLOW_"
//     (file data at 8 bytes a second), "MOVING_" (16 KiB a second) and
//     "READONLY_" (uploads and deletions refused); Port("REFUSING_") is a
//     port that refuses connections;
//   std::string Local(): a local file of this test;
//   std::string DataFolder(): a data folder as a user of the platform gives it.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "common/file_helpers.h"
#include "transport/ftp_client.h"
#include "transport/ftp_delivery.h"
#include "transport/ftp_errors.h"

namespace typrosync::ftp_tests {

using Strings = std::vector<std::string>;
using Events = std::vector<std::pair<int32_t, int32_t>>;

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(PathFromUtf8(path), std::ios::binary | std::ios::trunc) << bytes;
}

// The person pressing OK: every box, pointer change and event pump in order.
class RecordingUserInterface : public UserInterface {
 public:
  void ProcessPendingEvents() override { events.push_back("pump"); }
  void SetBusyPointer(bool busy) override { events.push_back(busy ? "busy" : "normal"); }
  void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override {
    const bool info = icon == MessageIcon::kInformation;
    EXPECT_TRUE(info || icon == MessageIcon::kWarning);
    EXPECT_EQ(title, "Beheer - TallyraPro");
    events.push_back((info ? "info: " : "warning: ") + text);
  }
  Strings events;
};

template <class Servers>
class FtpClientTest : public ::testing::Test {
 protected:
  FtpClientTest() {
    ftp_.OnFileTransferProgress([this](int32_t a, int32_t b) { events_.push_back({a, b}); });
  }
  FtpClientOptions Options(const std::string& kind) {
    return {s.Port(kind), 10000, 5000, [this] { ++pumps_; }};
  }
  bool Open(cFTP& ftp) { return ftp.OpenConnection("127.0.0.1", "agro", "geheim"); }

  Servers s;
  int pumps_ = 0;
  Events events_;
  cFTP ftp_{Options("")};
};

TYPED_TEST_SUITE_P(FtpClientTest);

// Active and passive sessions: log-in, folders, uploads byte for byte in
// both transfer types, the size search through the listing, rename, delete.
// Wine's own listing reader cuts names at their first space (Windows keeps
// them), so the names searched here have none.
TYPED_TEST_P(FtpClientTest, SessionOperationsInBothModes) {
  std::string bytes = "regel\r\nregel\nregel\r";  // every byte value, several blocks
  for (int round = 0; round < 40; ++round)
    for (int value = 0; value < 256; ++value) bytes += static_cast<char>(value);
  const auto size = static_cast<int32_t>(bytes.size());
  const std::string local = this->s.Local();
  WriteBytes(local, bytes);
  for (bool passive : {false, true}) {
    SCOPED_TRACE(passive ? "passive" : "active");
    cFTP ftp(this->Options(""));
    if (passive) ftp.SetModePassive();
    ASSERT_TRUE(this->Open(ftp)) << ftp.GetLastErrorMessage();
    const std::string folder = passive ? "passieve map" : "actieve map";
    EXPECT_TRUE(ftp.CreateFTPDirectory(folder)) << ftp.GetLastErrorMessage();
    EXPECT_TRUE(ftp.SetFTPDirectory(folder)) << ftp.GetLastErrorMessage();
    EXPECT_EQ(ftp.GetFTPDirectory(), "/" + folder);
    EXPECT_TRUE(ftp.SimpleFTPPutFile(local, "tekst.txt")) << ftp.GetLastErrorMessage();
    ftp.SetTransferBinary();
    EXPECT_TRUE(ftp.SimpleFTPPutFile(local, "levering_12.xml")) << ftp.GetLastErrorMessage();
    EXPECT_EQ(ReadBytes(this->s.Root("") + folder + "/levering_12.xml"), bytes);
    for (const char* pattern : {"levering_12.xml", "lev*.xml", "levering?12.xml"})
      EXPECT_EQ(ftp.GetFTPFileSize(pattern), size) << pattern;
    EXPECT_EQ(ftp.GetFTPFileSize("levering_13.xml"), -1);
    EXPECT_TRUE(ftp.RenameFTPFile("levering_12.xml", "hernoemd.bin")) << ftp.GetLastErrorMessage();
    EXPECT_EQ(ftp.GetFTPFileSize("hernoemd.bin"), size);
    EXPECT_TRUE(ftp.DeleteFTPFile("hernoemd.bin")) << ftp.GetLastErrorMessage();
    EXPECT_EQ(ftp.GetFTPFileSize("hernoemd.bin"), -1);
    EXPECT_EQ(ftp.GetLastErrorMessage(), "");
  }
}

// Uploads report after every block of 255 bytes; downloads count from one.
// Names are trimmed; a stale, longer local file is replaced whole.
TYPED_TEST_P(FtpClientTest, BlockTransferProgress) {
  const struct {
    bool upload;
    size_t size;
    Events events;
  } cases[] = {
      {true, 0, {{0, 0}}},
      {true, 510, {{255, 510}, {510, 510}, {510, 510}}},
      {true, 300, {{255, 300}, {300, 300}}},
      {true, 254, {{254, 254}}},
      {false, 300, {{256, 300}, {300, 300}}},
      {false, 510, {{256, 510}, {511, 510}, {510, 510}}},
      {false, 10, {{10, 10}}},
  };
  ASSERT_TRUE(this->Open(this->ftp_)) << this->ftp_.GetLastErrorMessage();
  this->ftp_.SetTransferBinary();
  const std::string path = this->s.Local(), remote_path = this->s.Root("") + "f.bin";
  for (const auto& c : cases) {
    this->events_.clear();
    std::string bytes(c.size, '\0');
    for (size_t i = 0; i < c.size; ++i) bytes[i] = static_cast<char>(i * 7);
    WriteBytes(path, c.upload ? bytes : std::string(2000, 'x'));
    if (!c.upload) WriteBytes(remote_path, bytes);
    std::string local = "  " + path + " ", remote = " f.bin  ";
    ASSERT_TRUE(c.upload ? this->ftp_.FTPUploadFile(local, remote)
                         : this->ftp_.FTPDownloadFile(local, remote))
        << this->ftp_.GetLastErrorMessage();
    EXPECT_EQ(local + "|" + remote, path + "|f.bin");
    EXPECT_EQ(this->events_, c.events) << c.size;
    EXPECT_EQ(ReadBytes(c.upload ? remote_path : path), bytes);
  }
  EXPECT_EQ(this->pumps_, 6);  // once after every full block, either way
}

// A refusal keeps the server's own reply line, which survives later
// successes until it is cleared; the session goes on.
TYPED_TEST_P(FtpClientTest, ServerRefusalKeepsTheServerReply) {
  ASSERT_TRUE(this->Open(this->ftp_)) << this->ftp_.GetLastErrorMessage();
  EXPECT_FALSE(this->ftp_.DeleteFTPFile("ontbreekt.xml"));
  const std::string text = this->ftp_.GetLastErrorMessage();
  EXPECT_TRUE(text.starts_with("550 ") && text.ends_with("\r\n")) << text;
  EXPECT_EQ(text.find('\0'), std::string::npos);
  EXPECT_TRUE(this->ftp_.CreateFTPDirectory("verder")) << this->ftp_.GetLastErrorMessage();
  EXPECT_EQ(this->ftp_.GetLastErrorMessage(), text);
  this->ftp_.ClearLastErrorMessage();
  EXPECT_EQ(this->ftp_.GetFTPFileSize("geen map/x.xml"), -2);
  EXPECT_TRUE(this->ftp_.GetLastErrorMessage().starts_with("550 "));
}

// Log-in and connection failures carry WinINet's numbers and texts.
TYPED_TEST_P(FtpClientTest, WrongPasswordAndRefusedConnection) {
  EXPECT_FALSE(this->ftp_.OpenConnection("127.0.0.1", "agro", "fout"));
  EXPECT_FALSE(this->ftp_.IsConnected());
  // Windows names the wrong password, Wine the failed log-in: both are
  // WinINet's own numbers for a refused log-in.
  const std::string text = this->ftp_.GetLastErrorMessage();
  EXPECT_TRUE(text == FtpErrorText(kErrorInternetIncorrectPassword) ||
              text == FtpErrorText(kErrorInternetLoginFailure))
      << text;
  cFTP refused(this->Options("REFUSING_"));
  EXPECT_FALSE(this->Open(refused));
  EXPECT_EQ(refused.GetLastErrorMessage(),
            "Foutmelding (12029)\r\n\r\nEr kan geen verbinding met de server worden gemaakt.\r\n");
}

// Below the minimum rate for a whole window a transfer fails as a time-out
// however long it would go on; a slow but moving one passes.
TYPED_TEST_P(FtpClientTest, TricklingTransferFailsAndSlowOnePasses) {
  const struct {
    const char* server;
    size_t size;
    bool passes;
  } cases[] = {{"SLOW_", 1000, false}, {"MOVING_", 40000, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.server);
    WriteBytes(this->s.Root(c.server) + "f.bin", std::string(c.size, 'x'));
    FtpClientOptions options = this->Options(c.server);
    options.min_rate_bytes_per_s = 1024;
    options.min_rate_window_ms = 1000;
    cFTP ftp(options);
    ftp.SetTransferBinary();
    ASSERT_TRUE(this->Open(ftp)) << ftp.GetLastErrorMessage();
    EXPECT_EQ(ftp.SimpleFTPGetFile(this->s.Local(), "f.bin"), c.passes);
    EXPECT_EQ(ftp.GetLastErrorMessage().find("time-out") != std::string::npos, !c.passes)
        << ftp.GetLastErrorMessage();
  }
}

// The delivery: the settings file found in the data folder, the message
// stored byte for byte replacing an older file, the local copy removed; a
// refused upload shows the server's reply and keeps the local copy.
TYPED_TEST_P(FtpClientTest, DeliveryReplacesTheRemoteFile) {
  const std::string message = "<bericht>\xc3\xa9\r\n</bericht>";
  const std::string data_map = this->s.DataFolder();
  WriteBytes(data_map + "agrovision.ini", "127.0.0.1\r\n21\r\nagro\r\ngeheim\r\n");
  const struct {
    const char* server;
    FtpOutcome outcome;
    std::string box;
  } cases[] = {{"", FtpOutcome::kUploaded, ""},
               {"READONLY_", FtpOutcome::kFailed, "warning: 550 Not enough privileges.\r\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    const std::string remote = this->s.Root(c.server) + "1001_x.xml";
    WriteBytes(remote, "an older, longer message");
    RecordingUserInterface ui;
    auto sender = MakeFtpSender(data_map, ui, {this->s.Port(c.server), 10000, 5000});
    EXPECT_EQ(sender->VerstuurViaFTP(message, "1001_x.xml"), c.outcome);
    const bool uploaded = c.box.empty();
    EXPECT_EQ(ui.events, (uploaded ? Strings{"busy", "normal", "pump", "normal"}
                                   : Strings{"busy", "normal", "pump", c.box, "normal"}));
    EXPECT_EQ(ReadBytes(remote), uploaded ? message + "\r\n" : "an older, longer message");
    EXPECT_EQ(ReadBytes(data_map + "1001_x.xml"), uploaded ? "" : message + "\r\n");
  }
}

REGISTER_TYPED_TEST_SUITE_P(FtpClientTest, SessionOperationsInBothModes, BlockTransferProgress,
                            ServerRefusalKeepsTheServerReply, WrongPasswordAndRefusedConnection,
                            TricklingTransferFailsAndSlowOnePasses, DeliveryReplacesTheRemoteFile);

}  // namespace typrosync::ftp_tests

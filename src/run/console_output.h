#pragma once
// Where an unattended run writes what: status lines on standard output
// (dropped with --quiet), warnings and errors on standard error. When
// standard error is the journal, every line there carries its syslog
// priority ("<4>" warning, "<3>" error), so `journalctl -p warning` finds
// it; on a terminal or in a cron mail nothing changes. Qt-free.

#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

#include "common/user_interface.h"

namespace typrosync {

enum class Priority { kError = 3, kWarning = 4 };

struct OutputPolicy {
  bool quiet = false;    // --quiet: only warnings and errors remain
  bool journal = false;  // standard error is the journal: a priority per line
};

// True when `journal_stream` ("device:inode", as systemd sets
// JOURNAL_STREAM) names the open file `fd`. A child whose standard error was
// redirected inherits the variable but not the stream, so the variable alone
// does not say it. Null or malformed: false.
bool IsJournalStream(const char* journal_stream, int fd);

// The policy the environment gives: `journal` from JOURNAL_STREAM and
// standard error.
OutputPolicy OutputPolicyFromEnvironment();

// `text` with a final line break; with `journal` each of its lines starts
// with "<N>". Without `journal` the text is unchanged.
std::string WithPriority(const std::string& text, Priority priority, bool journal);

// A run nobody watches answers every box at once, so any box means something
// did not go as planned: critical boxes are errors, all others warnings.
Priority BoxPriority(MessageIcon icon);

// Sits in front of standard error's buffer when it is the journal: a line
// that does not start with a priority of its own gets "<3>", so the lines of
// code that knows nothing of the journal (an administration that cannot be
// opened) count as errors. `target` must outlive the buffer.
class JournalLineBuffer : public std::streambuf {
 public:
  explicit JournalLineBuffer(std::streambuf& target) : target_(target) {}
  ~JournalLineBuffer() override;

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  void Put(const std::string& bytes);

  std::streambuf& target_;
  std::string held_;  // the start of a line until it shows whether it has a priority
  bool line_start_ = true;
};

// The console of one run: the streams the console view writes to, chosen by
// the policy.
class ConsoleOutput {
 public:
  // `out` and `err` must outlive this. With `policy.journal` the buffer of
  // `err` is put behind a JournalLineBuffer until destruction.
  ConsoleOutput(std::ostream& out, std::ostream& err, OutputPolicy policy);
  ~ConsoleOutput();
  ConsoleOutput(const ConsoleOutput&) = delete;
  ConsoleOutput& operator=(const ConsoleOutput&) = delete;

  // Status lines: `out`, or a stream that drops everything with --quiet.
  std::ostream& Out() { return policy_.quiet ? dropped_ : out_; }
  std::ostream& Err() { return err_; }
  // Writes `text` as one or more lines on standard error.
  void Report(Priority priority, const std::string& text);
  const OutputPolicy& policy() const { return policy_; }

 private:
  class DropBuffer : public std::streambuf {
   protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
  };

  std::ostream& out_;
  std::ostream& err_;
  OutputPolicy policy_;
  DropBuffer drop_buffer_;
  std::ostream dropped_{&drop_buffer_};
  std::streambuf* err_buffer_ = nullptr;  // err's own buffer while the journal one stands in front
  std::unique_ptr<JournalLineBuffer> journal_buffer_;
};

}  // namespace typrosync

#include "run/console_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace typrosync {
namespace {

// How far the start of a line matches "<N>" (N a syslog level 0..7).
enum class PrefixMatch { kPartial, kComplete, kNone };

PrefixMatch MatchPrefix(const std::string& start) {
  const size_t n = start.size();
  if (start[0] != '<') return PrefixMatch::kNone;
  if (n >= 2 && (start[1] < '0' || start[1] > '7')) return PrefixMatch::kNone;
  if (n >= 3) return start[2] == '>' ? PrefixMatch::kComplete : PrefixMatch::kNone;
  return PrefixMatch::kPartial;
}

std::string Marker(Priority priority) {
  return "<" + std::to_string(static_cast<int>(priority)) + ">";
}

}  // namespace

bool IsJournalStream(const char* journal_stream, int fd) {
  if (journal_stream == nullptr) return false;
  char* end = nullptr;
  const unsigned long long device = std::strtoull(journal_stream, &end, 10);
  if (end == journal_stream || *end != ':') return false;
  const char* inode_text = end + 1;
  const unsigned long long inode = std::strtoull(inode_text, &end, 10);
  if (end == inode_text || *end != '\0') return false;
  struct stat info {};
  // The variable is inherited by children; only a stream that is still the
  // journal's own socket (same device and inode) may carry level markers.
  if (fstat(fd, &info) != 0) return false;
  return info.st_dev == device && info.st_ino == inode;
}

OutputPolicy OutputPolicyFromEnvironment() {
  OutputPolicy policy;
  policy.journal = IsJournalStream(std::getenv("JOURNAL_STREAM"), STDERR_FILENO);
  return policy;
}

std::string WithPriority(const std::string& text, Priority priority, bool journal) {
  if (!journal) return text + "\n";
  const std::string marker = Marker(priority);
  std::string lines = marker;
  // Every line of a multi-line text carries the marker, or the journal files
  // the later lines at its default level.
  for (char c : text) {
    lines += c;
    if (c == '\n') lines += marker;
  }
  return lines + "\n";
}

Priority BoxPriority(MessageIcon icon) {
  // A box would have stopped someone at the screen: never less than a warning.
  return icon == MessageIcon::kCritical ? Priority::kError : Priority::kWarning;
}

JournalLineBuffer::~JournalLineBuffer() {
  // A line start still held at the end is written, marked as the unmarked lines are.
  if (!held_.empty()) Put(Marker(Priority::kError) + held_);
  target_.pubsync();
}

void JournalLineBuffer::Put(const std::string& bytes) {
  target_.sputn(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

JournalLineBuffer::int_type JournalLineBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char ch = traits_type::to_char_type(c);
  if (!line_start_) {
    target_.sputc(ch);
    line_start_ = ch == '\n';
    return c;
  }
  held_ += ch;
  switch (MatchPrefix(held_)) {
    case PrefixMatch::kPartial:
      return c;
    // Text written to standard error without a level (a library's own message)
    // is an error until shown otherwise.
    case PrefixMatch::kNone:
      Put(Marker(Priority::kError) + held_);
      line_start_ = ch == '\n';
      break;
    case PrefixMatch::kComplete:
      Put(held_);
      line_start_ = false;
      break;
  }
  held_.clear();
  return c;
}

// A held line start stays held: the rest of its line is on its way.
int JournalLineBuffer::sync() { return target_.pubsync(); }

ConsoleOutput::ConsoleOutput(std::ostream& out, std::ostream& err, OutputPolicy policy)
    : out_(out), err_(err), policy_(policy) {
  if (!policy_.journal) return;
  err_buffer_ = err_.rdbuf();
  journal_buffer_ = std::make_unique<JournalLineBuffer>(*err_buffer_);
  err_.rdbuf(journal_buffer_.get());
}

ConsoleOutput::~ConsoleOutput() {
  if (journal_buffer_) err_.rdbuf(err_buffer_);
}

void ConsoleOutput::Report(Priority priority, const std::string& text) {
  err_ << WithPriority(text, priority, policy_.journal) << std::flush;
}

}  // namespace typrosync

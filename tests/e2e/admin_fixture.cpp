#include "e2e/admin_fixture.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace typrosync::test_support {
namespace {

std::vector<char*> Pointers(std::vector<std::string>& words) {
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  return pointers;
}

ProgramResult Sqlite(const std::string& database, const std::string& sql) {
  ProgramResult result = RunProgram("/usr/bin/sqlite3", {"-bail", "-list", database, sql});
  if (result.exit_code != 0) throw std::runtime_error("sqlite3: " + result.err + " in " + sql);
  return result;
}

}  // namespace

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& args,
                               const Environment& extra, const std::string& cwd) {
  std::vector<std::string> words{program}, env;
  words.insert(words.end(), args.begin(), args.end());
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string text = *entry;
    bool replaced = false;
    for (const auto& [name, value] : extra) replaced |= text.starts_with(name + "=");
    if (!replaced) env.push_back(text);
  }
  for (const auto& [name, value] : extra) env.push_back(name + "=" + value);
  std::vector<char*> argv = Pointers(words), envp = Pointers(env);
  const std::string out = output_.path() + "out", err = output_.path() + "err";
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&files, cwd.c_str());
  const int failed = posix_spawn(&pid_, program.c_str(), &files, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&files);
  if (failed != 0) throw std::runtime_error("cannot start " + program);
}

RunningProgram::~RunningProgram() {
  if (!ended_) waitpid(pid_, &status_, 0);
}

bool RunningProgram::Ended() {
  if (!ended_ && waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
  return ended_;
}

ProgramResult RunningProgram::Wait() {
  if (!ended_) waitpid(pid_, &status_, 0);
  ended_ = true;
  return {WIFEXITED(status_) ? WEXITSTATUS(status_) : -1, ReadFileBytes(output_.path() + "out"),
          ReadFileBytes(output_.path() + "err")};
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const Environment& extra, const std::string& cwd) {
  return RunningProgram(program, args, extra, cwd).Wait();
}

bool WaitUntil(const std::function<bool()>& done, double limit_s) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(limit_s);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

std::string Sq(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

TestAdministratie::TestAdministratie(const std::string& admin_tool) {
  ProgramResult made = RunProgram(admin_tool, {"create", folder()});
  if (made.exit_code != 0) throw std::runtime_error("typrosync-admin create: " + made.err);
}

void TestAdministratie::Sql(const std::string& sql) const {
  Sqlite(folder() + "TallyraDB.mdb", sql);
}

std::string TestAdministratie::Scalar(const std::string& sql) const {
  std::string text = Sqlite(folder() + "TallyraDB.mdb", sql).out;
  return text.substr(0, text.find('\n'));
}

}  // namespace typrosync::test_support

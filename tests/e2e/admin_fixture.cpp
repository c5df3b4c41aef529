#include "e2e/admin_fixture.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace typrosync::test_support {
namespace {

constexpr char kSqlite[] = "/usr/bin/sqlite3";

std::vector<std::string> MergedEnvironment(const Environment& extra) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string text = *entry;
    bool replaced = false;
    for (const auto& [name, value] : extra) replaced |= text.rfind(name + "=", 0) == 0;
    if (!replaced) env.push_back(text);
  }
  for (const auto& [name, value] : extra) env.push_back(name + "=" + value);
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& words) {
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  return pointers;
}

void Redirect(const std::string& path, int target) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd >= 0) {
    dup2(fd, target);
    close(fd);
  }
}

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const Environment& extra) {
  TempDir output;
  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<std::string> env = MergedEnvironment(extra);
  std::vector<char*> argv = Pointers(words);
  std::vector<char*> envp = Pointers(env);
  pid_t pid = fork();
  if (pid == 0) {
    Redirect(output.path() + "out", STDOUT_FILENO);
    Redirect(output.path() + "err", STDERR_FILENO);
    int null_in = open("/dev/null", O_RDONLY);
    if (null_in >= 0) dup2(null_in, STDIN_FILENO);
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  if (pid < 0) throw std::runtime_error("fork failed");
  int status = 0;
  waitpid(pid, &status, 0);
  ProgramResult result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadFileBytes(output.path() + "out");
  result.err = ReadFileBytes(output.path() + "err");
  return result;
}

std::string Sq(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

TestAdministratie::TestAdministratie(const std::string& admin_tool) {
  ProgramResult made = RunProgram(admin_tool, {"create", folder()});
  if (made.exit_code != 0) {
    throw std::runtime_error("typrosync-admin create failed: " + made.err);
  }
}

void TestAdministratie::Sql(const std::string& sql) const {
  ProgramResult result = RunProgram(kSqlite, {"-bail", DatabasePath(), sql});
  if (result.exit_code != 0) throw std::runtime_error("sqlite3: " + result.err + " in " + sql);
}

void TestAdministratie::Insert(const std::string& table, const Row& row) const {
  std::string names;
  std::string values;
  for (const auto& [name, value] : row) {
    names += (names.empty() ? "\"" : ", \"") + name + "\"";
    values += (values.empty() ? "" : ", ") + value;
  }
  Sql("INSERT INTO \"" + table + "\" (" + names + ") VALUES (" + values + ");");
}

std::string TestAdministratie::Scalar(const std::string& sql) const {
  ProgramResult result = RunProgram(kSqlite, {"-bail", "-list", DatabasePath(), sql});
  if (result.exit_code != 0) throw std::runtime_error("sqlite3: " + result.err + " in " + sql);
  std::string text = result.out;
  size_t end = text.find('\n');
  return end == std::string::npos ? text : text.substr(0, end);
}

}  // namespace typrosync::test_support

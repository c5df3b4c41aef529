#include "e2e/admin_fixture.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <regex>
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

// A pending line; `Order` adds a key of its own.
// clang-format off
const Fields kLine = {
    {"RelNr", "1001"}, {"OrderNr", "5001"}, {"OrderDatum", "20240105"}, {"LeverDatum", "20240110"},
    {"MagazijnBonNr", "MB1"}, {"ArtNr", "A1"}, {"Omschrijving1", "Middel"}, {"Omschrijving2", "5 l"},
    {"Aantal", 10}, {"PrijsPer", 1}, {"VerkoopPrijs", 2.5}, {"FactuurGewicht", 0},
    {"KortingPercentage", 0}};
// clang-format on

// The value as an SQL literal.
std::string Literal(const Variant& value) {
  if (value.IsNull() || value.IsEmptyKind()) return "NULL";
  if (value.kind() == Variant::Kind::kText) return Sq(value.Text());
  return std::to_string(value.ToDouble());
}

// Waits for a lock another connection holds, as the run's own writes may.
ProgramResult Sqlite(const std::string& database, const std::string& sql) {
  ProgramResult result =
      RunProgram("/usr/bin/sqlite3", {"-bail", "-list", "-cmd", ".timeout 5000", database, sql});
  if (result.exit_code != 0) throw std::runtime_error("sqlite3: " + result.err + " in " + sql);
  return result;
}

}  // namespace

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& args,
                               const Environment& extra, const std::string& cwd,
                               const std::vector<std::string>& unset) {
  std::vector<std::string> words{program}, env;
  words.insert(words.end(), args.begin(), args.end());
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string text = *entry;
    bool replaced = false;
    for (const auto& [name, value] : extra) replaced |= text.starts_with(name + "=");
    for (const std::string& name : unset) replaced |= text.starts_with(name + "=");
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
                         const Environment& extra, const std::string& cwd,
                         const std::vector<std::string>& unset) {
  return RunningProgram(program, args, extra, cwd, unset).Wait();
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

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) {
    ++count;
  }
  return count;
}

bool IsStamp(const std::string& mark) { return std::regex_match(mark, std::regex("[0-9]{14}")); }

TestAdministratie::TestAdministratie(const std::string& admin_tool) {
  ProgramResult made = RunProgram(admin_tool, {"create", folder()});
  if (made.exit_code != 0) throw std::runtime_error("typrosync-admin create: " + made.err);
}

TestAdministratie::TestAdministratie() : TestAdministratie(TYPROSYNC_ADMIN_TOOL) {}

void TestAdministratie::Sql(const std::string& sql) const {
  Sqlite(folder() + "TallyraDB.mdb", sql);
}

std::string TestAdministratie::Scalar(const std::string& sql) const {
  std::string text = Sqlite(folder() + "TallyraDB.mdb", sql).out;
  return text.substr(0, text.find('\n'));
}

void TestAdministratie::Insert(const std::string& table, const Fields& row) const {
  std::string names, values;
  for (const auto& [name, value] : row) {
    names += (names.empty() ? "\"" : ", \"") + name + "\"";
    values += (values.empty() ? "" : ", ") + Literal(value);
  }
  Sql("INSERT INTO \"" + table + "\" (" + names + ") VALUES (" + values + ")");
}

void TestAdministratie::Relatie(const std::string& relnr, const std::string& group,
                                const std::string& name, const std::string& town) const {
  Insert("RelatieGegevens", {{"RelNr", relnr},
                             {"bedrijfsnaam1", name},
                             {"BedrijfsWoonplaats", town},
                             {"Relatiegroep", group}});
}

std::string TestAdministratie::Order(const Fields& changes) {
  Fields row = kLine;
  row.emplace_back("RelnrOrderdatumRegNrIndex", "k" + std::to_string(++lines_));
  for (const auto& [name, value] : changes)
    for (auto& field : row)
      if (field.first == name) field.second = value;
  Insert("Ordergegevens", row);
  return row.back().second.Text();
}

void TestAdministratie::Meta(const std::string& ordernr, const Variant& agrovision,
                             const Variant& dacom) const {
  Sql("INSERT INTO OrderGegevensMeta VALUES (" + ordernr + ", " + Literal(agrovision) + ", " +
      Literal(dacom) + ")");
}

std::optional<Marks> TestAdministratie::MarksOf(const std::string& ordernr) const {
  // After OrderNr: LeveringNaarAgroVision, LeveringNaarDacom; Null prints as "".
  const std::string row = Scalar(
      "SELECT 'x' || ifnull(LeveringNaarAgroVision, '') || '|' || ifnull(LeveringNaarDacom, '') "
      "FROM OrderGegevensMeta WHERE OrderNr = " +
      ordernr);
  if (row.empty()) return std::nullopt;
  const size_t bar = row.find('|');
  return Marks(row.substr(1, bar - 1), row.substr(bar + 1));
}

std::string TestAdministratie::Mark(const std::string& ordernr, const std::string& field) const {
  return Scalar("SELECT ifnull(" + field +
                ", '') FROM OrderGegevensMeta WHERE OrderNr = " + ordernr);
}

std::string TestAdministratie::Log(const std::string& month) const {
  return ReadFileBytes(folder() + "typrosync-" + month + ".log");
}

std::string TestAdministratie::Logs() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder())) {
    if (entry.path().extension() == ".log") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::string text;
  for (const std::string& name : names) text += ReadFileBytes(folder() + name);
  return text;
}

void Receivers::StartCropR(const std::string& reply, bool hold) {
  std::filesystem::create_directory(dir() + "requests");
  SetReply(reply);
  certificate_ = MakeTestCertificate(dir(), "cropr");
  cropr_ = std::make_unique<HttpsTestServer>(HttpsServerOptions{certificate_, dir() + "reply",
                                                                dir() + "requests", 200, false, 0,
                                                                hold ? dir() + "release" : ""});
}

void Receivers::SetReply(const std::string& reply) const { WriteFileBytes(dir() + "reply", reply); }
void Receivers::Hold() const { std::filesystem::remove(dir() + "release"); }
void Receivers::Release() const { WriteFileBytes(dir() + "release", ""); }

void Receivers::StartFtp(const std::string& data_folder, const std::string& perm) {
  FtpServerOptions options;
  options.root = ftp_root_.path();
  options.perm = perm;
  ftp_ = std::make_unique<FtpTestServer>(options);
  WriteFileBytes(data_folder + "agrovision.ini",
                 "127.0.0.1\r\n" + std::to_string(ftp_->port()) + "\r\nagro\r\ngeheim\r\n");
}

Environment Receivers::Env() const {
  Environment env{{"TYPROSYNC_CROPR_URL",
                   cropr_ ? cropr_->url() : "https://127.0.0.1:9/supplier/edi_levering/"}};
  if (cropr_) env.push_back({"TYPROSYNC_CA_BUNDLE", certificate_.cert});
  if (ftp_) env.push_back({"TYPROSYNC_FTP_PORT", std::to_string(ftp_->port())});
  return env;
}

std::vector<std::string> Receivers::Requests() const {
  std::vector<std::string> requests;
  for (int n = 1;; ++n) {
    const std::string path = dir() + "requests/request-" + std::to_string(n) + ".txt";
    if (!std::filesystem::exists(path)) return requests;
    requests.push_back(ReadFileBytes(path));
  }
}

std::vector<std::string> Receivers::Bodies() const {
  std::vector<std::string> bodies;
  for (const std::string& request : Requests()) {
    const size_t end = request.find("\r\n\r\n");
    bodies.push_back(end == std::string::npos ? "" : request.substr(end + 4));
  }
  return bodies;
}

std::vector<std::string> Receivers::Uploads() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(ftp_root_.path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace typrosync::test_support

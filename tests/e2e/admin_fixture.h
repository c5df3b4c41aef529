#pragma once
// Administrations and programs as an operator handles them: an
// administration made by `typrosync-admin create` in a temporary folder, rows
// added with the sqlite3 command-line client, and the built programs run as
// child processes with their output captured.

#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/variant.h"
#include "support/test_server.h"

namespace typrosync::test_support {

struct ProgramResult {
  int exit_code = -1;  // -1 when the program did not end normally
  std::string out;
  std::string err;
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// A program started as a child process with the process environment plus
// `extra` and without the variables named in `unset`, stdin from /dev/null,
// in the working folder `cwd` ("" = this process's), its output captured.
// Released, it waits for the child.
class RunningProgram {
 public:
  RunningProgram(const std::string& program, const std::vector<std::string>& args,
                 const Environment& extra = {}, const std::string& cwd = "",
                 const std::vector<std::string>& unset = {});
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  pid_t pid() const { return pid_; }
  // True once the child has ended; never waits.
  bool Ended();
  ProgramResult Wait();

 private:
  TempDir output_;
  pid_t pid_ = -1;
  int status_ = 0;
  bool ended_ = false;
};

// Runs `program` as RunningProgram does, waits for it and returns its exit
// status and output.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const Environment& extra = {}, const std::string& cwd = "",
                         const std::vector<std::string>& unset = {});

// Polls `done` every 10 ms until it holds; false after `limit_s` seconds.
bool WaitUntil(const std::function<bool()>& done, double limit_s = 60);

// A text as an SQL string literal.
std::string Sq(const std::string& text);

// How often `part` occurs in `text` (overlaps counted).
size_t Count(const std::string& text, const std::string& part);

// Whether a delivery mark is a stamp (yyyymmddhhmmss).
bool IsStamp(const std::string& mark);

using Fields = std::vector<std::pair<std::string, Variant>>;
using Marks = std::pair<std::string, std::string>;  // AgroVision, Crop-R; "" for Null

class TestAdministratie {
 public:
  // Creates an administration with `admin_tool` ("create DIR"), or with the
  // typrosync-admin of this build.
  explicit TestAdministratie(const std::string& admin_tool);
  TestAdministratie();

  // The data folder, ending in "/".
  const std::string& folder() const { return dir_.path(); }

  // Runs SQL on TallyraDB.mdb; throws std::runtime_error when it fails.
  void Sql(const std::string& sql) const;
  // The first column of the first row of a query ("" when there is none).
  std::string Scalar(const std::string& sql) const;

  void Insert(const std::string& table, const Fields& row) const;
  void Artikel(const std::string& artnr, const Variant& admission) const {
    Insert("Artikelen", {{"Artikelnummer", artnr}, {"ToelatingsNummer", admission}});
  }
  void Relatie(const std::string& relnr, const std::string& group, const std::string& name = "Boer",
               const std::string& town = "Emmen") const;
  // A pending line of customer 1001, order 5001, article A1 (10 at 2,50),
  // with `changes` applied; returns its key.
  std::string Order(const Fields& changes = {});
  void Meta(const std::string& ordernr, const Variant& agrovision = Variant::Null(),
            const Variant& dacom = Variant::Null()) const;
  std::optional<Marks> MarksOf(const std::string& ordernr) const;  // nullopt without a record
  // The delivery mark `field` of an order ("" when empty, Null or missing).
  std::string Mark(const std::string& ordernr, const std::string& field) const;
  std::string Log(const std::string& month) const;  // "" when the month has no log
  std::string Logs() const;                         // every .log file, by name

 private:
  TempDir dir_;
  int lines_ = 0;
};

// A local Crop-R receiver (HTTPS) and AgroVision server (FTP) for runs of
// the built typrosync, and what they received.
class Receivers {
 public:
  // The receiver answers `reply`; with `hold` each reply waits, after its
  // request is recorded, until Release().
  void StartCropR(const std::string& reply, bool hold = false);
  void SetReply(const std::string& reply) const;
  void Hold() const;
  void Release() const;
  // Also names the server in `data_folder`/agrovision.ini.
  void StartFtp(const std::string& data_folder, const std::string& perm = "elradfmwMT");
  // The variables that point typrosync at them; Crop-R at a closed port
  // unless started.
  Environment Env() const;
  // Crop-R requests in order: "#conn C", request line, headers, empty line, body.
  std::vector<std::string> Requests() const;
  std::vector<std::string> Bodies() const;
  std::vector<std::string> Uploads() const;  // AgroVision file names, sorted
  std::string UploadPath(const std::string& name) const { return ftp_root_.path() + name; }
  const std::string& dir() const { return dir_.path(); }

 private:
  TempDir dir_, ftp_root_;
  TestCertificate certificate_;
  std::unique_ptr<HttpsTestServer> cropr_;
  std::unique_ptr<FtpTestServer> ftp_;
};

}  // namespace typrosync::test_support

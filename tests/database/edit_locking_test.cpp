// Edit locking between users of one file: pessimistic edits hold the write
// lock from Edit to Update, optimistic ones take it in Update and notice a
// record changed in between; a lock kept past the busy time-out is 3260.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "database/database_test_support.h"

namespace typrosync {
namespace {

using namespace std::chrono_literals;
using test_support::ErrorNumberOf;
using test_support::OtherUser;
using test_support::TempDir;
using test_support::TestTable;
using test_support::WriteDatabase;

// Another process that holds the write lock for a while.
class LockingProcess {
 public:
  LockingProcess(const std::string& path, std::chrono::milliseconds hold) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      sqlite3* db = nullptr;
      sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
      const bool locked =
          sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
      const char signal = locked ? 'L' : 'F';
      if (write(fds[1], &signal, 1) != 1) _exit(2);
      std::this_thread::sleep_for(hold);
      sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
      sqlite3_close(db);
      _exit(0);
    }
    close(fds[1]);
    char signal = 0;
    locked_ = read(fds[0], &signal, 1) == 1 && signal == 'L';
    close(fds[0]);
  }
  ~LockingProcess() {
    int status = 0;
    if (pid_ > 0) waitpid(pid_, &status, 0);
  }
  bool locked() const { return locked_; }

 private:
  pid_t pid_ = -1;
  bool locked_ = false;
};

class EditLockingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestTable meta{{"Meta",
                    {{"OrderNr", "INTEGER"},
                     {"LeveringNaarAgroVision", "TEXT"},
                     {"LeveringNaarDacom", "TEXT"}},
                    {{"PrimaryKey", {"OrderNr"}, true}}},
                   {"OrderNr", "LeveringNaarAgroVision", "LeveringNaarDacom"},
                   {{160001, "", Variant::Null()}, {160002, "", ""}}};
    WriteDatabase(path_, {meta});
    Reopen(200ms);
  }
  void Reopen(std::chrono::milliseconds busy_timeout) {
    rs_.reset();
    engine_ = MakeSqliteEngine({busy_timeout});
    db_ = engine_->OpenDatabase(path_, "");
    rs_ = db_->OpenTable("Meta");
    rs_->SetIndex("PrimaryKey");
  }
  void SeekOrder(long order) {
    rs_->Seek(static_cast<int64_t>(order));
    ASSERT_FALSE(rs_->NoMatch());
  }
  std::string StoredDacom(long order) {
    std::unique_ptr<Database> fresh = engine_->OpenDatabase(path_, "");
    std::unique_ptr<TableRecordset> rs = fresh->OpenTable("Meta");
    rs->SetIndex("PrimaryKey");
    rs->Seek(static_cast<int64_t>(order));
    return rs->Field("LeveringNaarDacom").Text();
  }

  TempDir dir_;
  std::string path_ = dir_.path() + "TallyraDB.mdb";
  std::unique_ptr<DatabaseEngine> engine_;
  std::unique_ptr<Database> db_;
  std::unique_ptr<TableRecordset> rs_;
};

TEST_F(EditLockingTest, PessimisticEditHoldsTheLockUntilUpdate) {
  SeekOrder(160001);
  rs_->Edit();
  OtherUser other(path_);
  EXPECT_FALSE(other.Exec("UPDATE Meta SET LeveringNaarAgroVision = 'x' WHERE OrderNr = 160002"));
  rs_->SetField("LeveringNaarDacom", "20240304090501");
  EXPECT_EQ(rs_->Field("LeveringNaarDacom"), Variant("20240304090501"));
  rs_->Update();
  EXPECT_TRUE(other.Exec("UPDATE Meta SET LeveringNaarAgroVision = 'x' WHERE OrderNr = 160002"));
  EXPECT_EQ(StoredDacom(160001), "20240304090501");
}

TEST_F(EditLockingTest, CancelUpdateReleasesTheLockWithoutWriting) {
  SeekOrder(160001);
  rs_->Edit();
  rs_->SetField("LeveringNaarDacom", "20240304090501");
  rs_->CancelUpdate();
  OtherUser other(path_);
  EXPECT_TRUE(other.Exec("UPDATE Meta SET LeveringNaarAgroVision = 'x' WHERE OrderNr = 160002"));
  EXPECT_EQ(StoredDacom(160001), "");
  EXPECT_EQ(ErrorNumberOf([&] { rs_->Update(); }), 3020);
  EXPECT_EQ(ErrorNumberOf([&] { rs_->SetField("LeveringNaarDacom", "1"); }), 3020);
}

TEST_F(EditLockingTest, LockKeptByAnotherUserPastTheTimeOutIsRecordLocked) {
  for (bool lock_edits : {true, false}) {
    rs_->SetLockEdits(lock_edits);
    SeekOrder(160001);
    OtherUser other(path_);
    ASSERT_TRUE(other.Exec("BEGIN IMMEDIATE"));
    if (lock_edits) {
      EXPECT_EQ(ErrorNumberOf([&] { rs_->Edit(); }), 3260);
    } else {
      rs_->Edit();
      rs_->SetField("LeveringNaarDacom", "20240304090501");
      EXPECT_EQ(ErrorNumberOf([&] { rs_->Update(); }), 3260);
      ASSERT_TRUE(other.Exec("COMMIT"));
      rs_->Update();  // the edit stayed pending and goes through now
      EXPECT_EQ(StoredDacom(160001), "20240304090501");
    }
  }
}

TEST_F(EditLockingTest, OptimisticUpdateFailsWhenTheRecordChangedSinceEdit) {
  rs_->SetLockEdits(false);
  SeekOrder(160001);
  rs_->Edit();
  OtherUser other(path_);
  EXPECT_TRUE(
      other.Exec("UPDATE Meta SET LeveringNaarAgroVision = '20240101120000' "
                 "WHERE OrderNr = 160001"));
  rs_->SetField("LeveringNaarDacom", "20240304090501");
  EXPECT_EQ(ErrorNumberOf([&] { rs_->Update(); }), 3197);
  EXPECT_EQ(StoredDacom(160001), "");
  // Another record's change is no conflict.
  SeekOrder(160001);
  rs_->Edit();
  EXPECT_TRUE(other.Exec("UPDATE Meta SET LeveringNaarAgroVision = 'y' WHERE OrderNr = 160002"));
  rs_->SetField("LeveringNaarDacom", "20240304090501");
  rs_->Update();
  EXPECT_EQ(StoredDacom(160001), "20240304090501");
}

TEST_F(EditLockingTest, LockOfAnotherProcessIsWaitedForWithinTheTimeOut) {
  Reopen(5000ms);
  SeekOrder(160002);
  LockingProcess briefly(path_, 300ms);
  ASSERT_TRUE(briefly.locked());
  const auto start = std::chrono::steady_clock::now();
  rs_->Edit();
  EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
  rs_->SetField("LeveringNaarDacom", "20240304090501");
  rs_->Update();
  EXPECT_EQ(StoredDacom(160002), "20240304090501");
}

TEST_F(EditLockingTest, LockOfAnotherProcessPastTheTimeOutEndsTheEdit) {
  SeekOrder(160002);
  LockingProcess long_held(path_, 1500ms);
  ASSERT_TRUE(long_held.locked());
  EXPECT_EQ(ErrorNumberOf([&] { rs_->Edit(); }), 3260);
}

}  // namespace
}  // namespace typrosync

// Edit locking between users of one file: pessimistic edits hold the write
// lock from Edit to Update, optimistic ones take it in Update and notice a
// record changed in between; a lock kept past the busy time-out is 3260.

#include <gtest/gtest.h>

#include <thread>

#include "database/database_test_support.h"

namespace typrosync {
namespace {

using namespace std::chrono_literals;
using test_support::ErrorNumberOf;
using test_support::OtherUser;

constexpr const char* kOtherRecord = "UPDATE Meta SET Agro = 'x' WHERE OrderNr = 2";

class EditLockingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::WriteDatabase(path_,
                                {{{"Meta",
                                   {{"OrderNr", "INTEGER"}, {"Agro", "TEXT"}, {"Dacom", "TEXT"}},
                                   {{"PrimaryKey", {"OrderNr"}, true}}},
                                  {"OrderNr", "Agro", "Dacom"},
                                  {{1, "", Variant::Null()}, {2, "", ""}}}});
    db_ = engine_->OpenDatabase(path_, "");
    rs_ = db_->OpenTable("Meta");
    rs_->SetIndex("PrimaryKey");
    rs_->Seek(1);
  }
  // Dacom of order 1 as a new connection reads it.
  std::string Stored() {
    return engine_->OpenDatabase(path_, "")->OpenTable("Meta")->Field("Dacom").Text();
  }

  test_support::TempDir dir_;
  std::string path_ = dir_.path() + "TallyraDB.mdb";
  std::unique_ptr<DatabaseEngine> engine_ = MakeSqliteEngine({1000ms});
  std::unique_ptr<Database> db_;
  std::unique_ptr<TableRecordset> rs_;
};

TEST_F(EditLockingTest, PessimisticEditHoldsTheLockFromEditToUpdate) {
  OtherUser other(path_);
  rs_->Edit();
  EXPECT_FALSE(other.Exec(kOtherRecord));
  rs_->SetField("Dacom", "20240304090501");
  EXPECT_EQ(rs_->Field("Dacom"), Variant("20240304090501"));
  rs_->Update();
  EXPECT_TRUE(other.Exec(kOtherRecord));
  EXPECT_EQ(Stored(), "20240304090501");
}

TEST_F(EditLockingTest, LockKeptByAnotherUserPastTheTimeOutIsRecordLocked) {
  for (bool lock_edits : {true, false}) {
    rs_->SetLockEdits(lock_edits);
    OtherUser other(path_);
    ASSERT_TRUE(other.Exec("BEGIN IMMEDIATE"));
    if (lock_edits) {
      EXPECT_EQ(ErrorNumberOf([&] { rs_->Edit(); }), 3260);
      continue;
    }
    rs_->Edit();
    rs_->SetField("Dacom", "20240304090501");
    EXPECT_EQ(ErrorNumberOf([&] { rs_->Update(); }), 3260);
    ASSERT_TRUE(other.Exec("COMMIT"));
    rs_->Update();  // the edit stayed pending and goes through now
    EXPECT_EQ(Stored(), "20240304090501");
  }
}

TEST_F(EditLockingTest, LockReleasedWithinTheTimeOutIsWaitedFor) {
  OtherUser other(path_);
  ASSERT_TRUE(other.Exec("BEGIN IMMEDIATE"));
  std::thread release([&] {
    std::this_thread::sleep_for(200ms);
    other.Exec("COMMIT");
  });
  rs_->Edit();
  release.join();
  rs_->SetField("Dacom", "20240304090501");
  rs_->Update();
  EXPECT_EQ(Stored(), "20240304090501");
}

TEST_F(EditLockingTest, OptimisticUpdateFailsOnlyWhenTheRecordChangedSinceEdit) {
  rs_->SetLockEdits(false);
  OtherUser other(path_);
  for (const char* change : {"UPDATE Meta SET Agro = 'y' WHERE OrderNr = 1", kOtherRecord}) {
    rs_->Seek(1);
    rs_->Edit();
    EXPECT_TRUE(other.Exec(change));  // no lock is held while editing
    rs_->SetField("Dacom", "20240304090501");
    const bool conflict = change != kOtherRecord;
    EXPECT_EQ(ErrorNumberOf([&] { rs_->Update(); }), conflict ? 3197 : 0);
    EXPECT_EQ(Stored(), conflict ? "" : "20240304090501");
  }
}

}  // namespace
}  // namespace typrosync

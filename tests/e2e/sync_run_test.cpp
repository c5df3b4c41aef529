// End to end: `typrosync DATAFOLDER` run as an operator runs it, on an
// administration made by typrosync-admin, against a real local Crop-R
// receiver (HTTPS) and a real local AgroVision server (FTP).

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "e2e/admin_fixture.h"
#include "e2e/sync_fixture.h"

namespace typrosync::test_support {
namespace {

class SyncRunTest : public SyncFixture {
 protected:
  void AddAgroVisionCustomer();
};

// Customer 20001 of the AgroVision group: two orders over two vouchers, one
// line per weight category, texts that need cleaning.
void SyncRunTest::AddAgroVisionCustomer() {
  AddCustomer(
      {"20001", " X", "Maatschap \"De Eik\" & Zn", "K\xC3\xA9rkweg; achter", "9411ab", "Beilen"});
  AddArticle("GEN-1", "1", "0");
  AddArticle("GEN-2", "5", "2");
  AddArticle("GEN-3", "0", "1");
  AddArticle("GEN-4", "1", "3");
  AddArticle("GEN-5", "2", "5");
  AddLine({"20001", "7001", "B1", "GEN-1", "200012024030400010001", "10", "5", "3",
           "Fungicide <Extra>"});
  AddLine({"20001", "7001", "B2", "GEN-2", "200012024030400010002", "10", "1500", "-1"});
  AddLine({"20001", "7002", "B1", "GEN-3", "200012024030500020001", "2", "0.25", "0"});
  AddLine({"20001", "7001", "B1", "GEN-4", "200012024030400010003", "5", "500000", "4"});
  AddLine({"20001", "7002", "B1", "GEN-5", "200012024030500020002", "3", "1000", "3"});
}

std::string ExpectedAgroVisionMessage() {
  const std::string datum7001 = "2024-03-04T12:00:00Z";
  const std::string datum7002 = "2024-03-05T12:00:00Z";
  return Kop() + Leverancier("KORVELDAM") +
         "<Afnemer A203813KlantNummer=\"20001\" A702785Naam=\"Maatschap .De Eik.   Zn\" "
         "A703258Contactpersoon=\"\" A702786Straatnaam=\"Kerkweg, achter\" "
         "A702787Huisnummer=\"1\" A702788Postcode=\"9411 ab\" A702789Plaatsnaam=\"Beilen\" "
         "A702783Land=\"NL\" />"
         "<Segmenten><GBM>" +
         Segment("0000000000000B1000000000007001", "7001", datum7001) +
         Regel("1", "GEN-1", "Fungicide .Extra", "50.000", "3", "Fungiciden") +
         Regel("3", "GEN-4", "Middel", "2.500", "4", "n/a") + "</SegmentLevering>" +
         Segment("0000000000000B2000000000007001", "7001", datum7001) +
         Regel("2", "GEN-2", "Middel", "3.000", "", "") + "</SegmentLevering>" +
         Segment("0000000000000B1000000000007002", "7002", datum7002) +
         Regel("1", "GEN-3", "Middel", "500.000", "0", "") +
         Regel("2", "GEN-5", "Middel", "1.500", "3", "Fungiciden") + "</SegmentLevering>" +
         "</GBM></Segmenten></LeveringsBericht>";
}

TEST_F(SyncRunTest, AgroVisionMessageByteForByteAndOrdersStamped) {
  AddAgroVisionCustomer();
  StartCropR("<ok/>");
  StartFtp();
  ProgramResult run = Sync();
  ASSERT_EQ(0, run.exit_code) << run.err;
  std::vector<std::string> files = Uploads();
  ASSERT_EQ(1u, files.size());
  EXPECT_TRUE(std::regex_match(files[0], std::regex("20001_[0-9]{8}_[0-9]{6}\\.xml"))) << files[0];
  std::string bericht = ReadFileBytes(FtpRoot() + files[0]);
  ASSERT_GE(bericht.size(), 2u);
  EXPECT_EQ("\r\n", bericht.substr(bericht.size() - 2));
  bericht.resize(bericht.size() - 2);
  EXPECT_EQ(ExpectedAgroVisionMessage(), ZonderTijdstip(bericht));
  EXPECT_TRUE(CropRBodies().empty());
  for (const char* order : {"7001", "7002"}) {
    EXPECT_TRUE(std::regex_match(Mark(order, "LeveringNaarAgroVision"), std::regex("[0-9]{14}")));
    EXPECT_EQ("", Mark(order, "LeveringNaarDacom"));
  }
  std::string log = LogText();
  EXPECT_NE(std::string::npos, log.find("AGROVISION: Relatienr.      : 20001"));
  EXPECT_NE(std::string::npos, log.find("AGROVISION: Aantal regels   : 5"));
}

TEST_F(SyncRunTest, CropRAcknowledgedStampsDacomMark) {
  AddCustomer({"30001", "X"});
  AddArticle("GEN-1", "1", "0");
  AddLine({"30001", "8001", "V1", "GEN-1", "300012024030400010001"});
  AddLine({"30001", "8002", "V2", "GEN-1", "300012024030400020001"});
  StartCropR("<OK/>");
  StartFtp();
  ProgramResult run = Sync();
  ASSERT_EQ(0, run.exit_code) << run.err;
  std::vector<std::string> bodies = CropRBodies();
  ASSERT_EQ(1u, bodies.size());
  EXPECT_NE(std::string::npos, bodies[0].find("A702777LeveranciersNummer=\"\" "));
  EXPECT_EQ(2u, Count(bodies[0], "<SegmentLevering "));
  EXPECT_EQ(bodies[0] + "\r\n", ReadFileBytes(folder() + "bericht.xml"));
  EXPECT_TRUE(Uploads().empty());
  EXPECT_TRUE(std::regex_match(Mark("8001", "LeveringNaarDacom"), std::regex("[0-9]{14}")));
  EXPECT_EQ(Mark("8001", "LeveringNaarDacom"), Mark("8002", "LeveringNaarDacom"));
  EXPECT_NE(std::string::npos, LogText().find("CROPR     : Status          : OK"));
}

TEST_F(SyncRunTest, CropRRefusalLeavesOrdersPendingUntilAccepted) {
  AddCustomer({"30001", "X"});
  AddArticle("GEN-1", "1", "0");
  AddLine({"30001", "8001", "V1", "GEN-1", "300012024030400010001"});
  StartCropR("<fout>Onbekende leverancier</fout>");
  StartFtp();
  ASSERT_EQ(0, Sync().exit_code);
  EXPECT_EQ("", Mark("8001", "LeveringNaarDacom"));
  EXPECT_NE(std::string::npos,
            LogText().find("CROPR     : Status          : <fout>Onbekende leverancier</fout>"));
  SetCropRReply("<ok/>");
  ASSERT_EQ(0, Sync().exit_code);
  std::vector<std::string> bodies = CropRBodies();
  ASSERT_EQ(2u, bodies.size());
  EXPECT_EQ(ZonderTijdstip(bodies[0]), ZonderTijdstip(bodies[1]));
  EXPECT_NE("", Mark("8001", "LeveringNaarDacom"));
}

TEST_F(SyncRunTest, RefusedAgroVisionUploadStillStampsOrders) {
  AddCustomer({"20002", " X"});
  AddArticle("GEN-1", "1", "0");
  AddLine({"20002", "9001", "W1", "GEN-1", "200022024030400010001"});
  StartCropR("<ok/>");
  StartFtp("elr");
  ProgramResult run = Sync();
  ASSERT_EQ(0, run.exit_code);
  EXPECT_TRUE(Uploads().empty());
  EXPECT_NE("", run.err);  // the transport's message box, answered at once
  EXPECT_NE("", Mark("9001", "LeveringNaarAgroVision"));
  // The local copy of a refused upload stays in the data folder.
  EXPECT_EQ(1u, FilesMatching(folder(), "20002_[0-9]{8}_[0-9]{6}\\.xml").size());
}

TEST_F(SyncRunTest, CustomerInBothGroupsGetsBothMessagesAndStamps) {
  AddCustomer({"40001", "XX"});
  AddArticle("GEN-1", "1", "0");
  AddLine({"40001", "9101", "Z1", "GEN-1", "400012024030400010001"});
  StartCropR("<ok>");
  StartFtp();
  ASSERT_EQ(0, Sync().exit_code);
  std::vector<std::string> bodies = CropRBodies();
  std::vector<std::string> files = Uploads();
  ASSERT_EQ(1u, bodies.size());
  ASSERT_EQ(1u, files.size());
  std::string upload = ReadFileBytes(FtpRoot() + files[0]);
  EXPECT_NE(std::string::npos, bodies[0].find("A702777LeveranciersNummer=\"\""));
  EXPECT_NE(std::string::npos, upload.find("A702777LeveranciersNummer=\"KORVELDAM\""));
  EXPECT_NE("", Mark("9101", "LeveringNaarDacom"));
  EXPECT_EQ(Mark("9101", "LeveringNaarDacom"), Mark("9101", "LeveringNaarAgroVision"));
}

TEST_F(SyncRunTest, SecondRunSendsNothing) {
  AddAgroVisionCustomer();
  AddCustomer({"30001", "X"});
  AddLine({"30001", "8001", "V1", "GEN-1", "300012024030400010001"});
  StartCropR("<ok/>");
  StartFtp();
  ASSERT_EQ(0, Sync().exit_code);
  ASSERT_EQ(1u, CropRBodies().size());
  ASSERT_EQ(1u, Uploads().size());
  std::string log = LogText();
  for (const std::string& file : Uploads()) std::filesystem::remove(FtpRoot() + file);
  ProgramResult second = Sync();
  ASSERT_EQ(0, second.exit_code);
  EXPECT_EQ(1u, CropRBodies().size());
  EXPECT_TRUE(Uploads().empty());
  std::string added = LogText().substr(log.size());
  EXPECT_EQ(std::string::npos, added.find("CROPR")) << added;
  EXPECT_EQ(std::string::npos, added.find("AGROVISION")) << added;
}

// Crop-R cannot be reached: its orders stay pending and later Crop-R
// customers are not attempted, while AgroVision is still delivered.
TEST_F(SyncRunTest, UnreachableCropRLeavesOrdersPendingAndAgroVisionGoesOut) {
  AddCustomer({"30001", "X"});
  AddCustomer({"30002", "  X"});  // the Dacom group also routes to Crop-R
  AddAgroVisionCustomer();
  AddLine({"30001", "8001", "V1", "GEN-1", "300012024030400010001"});
  AddLine({"30002", "8002", "V1", "GEN-1", "300022024030400010001"});
  StartFtp();
  ProgramResult run = Sync(ClosedCropRUrl());
  ASSERT_EQ(0, run.exit_code) << run.err;
  EXPECT_EQ("", Mark("8001", "LeveringNaarDacom"));
  EXPECT_EQ("", Mark("8002", "LeveringNaarDacom"));
  EXPECT_EQ(1u, Uploads().size());
  EXPECT_NE("", Mark("7001", "LeveringNaarAgroVision"));
  std::string log = LogText();
  EXPECT_EQ(2u, Count(log, "CROPR     : Status          : "));
  EXPECT_NE(std::string::npos, log.find("Niet verstuurd: Crop-R was eerder in deze run"));
}

}  // namespace
}  // namespace typrosync::test_support

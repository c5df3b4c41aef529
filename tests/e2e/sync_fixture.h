#pragma once
// The set-up of an end-to-end run: an administration with a supplier and the
// code tables, customers, articles and order lines added as the
// administration program would store them, a local Crop-R receiver and a
// local AgroVision FTP server, and `typrosync` run on the data folder.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "e2e/admin_fixture.h"
#include "support/test_server.h"

namespace typrosync::test_support {

struct Customer {
  std::string relnr;
  std::string relatiegroep;  // "X" Crop-R, " X" AgroVision, "  X" Dacom
  std::string naam = "Boer";
  std::string adres = "Veldweg";
  std::string postcode = "9411AB";
  std::string woonplaats = "Beilen";
};

// One order line; the order date is read from the key after the customer
// number, the delivery date is the same.
struct Line {
  std::string relnr, ordernr, voucher, artnr, key;
  std::string aantal = "10";
  std::string gewicht = "1";
  std::string groep = "3";
  std::string oms1 = "Middel";
};

class SyncFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  // Every message received in the test must parse as XML: the fixture's
  // stored values hold no markup characters.
  void TearDown() override;

  void AddCustomer(const Customer& customer);
  void AddArticle(const std::string& artnr, const std::string& standaard,
                  const std::string& categorie);
  // Also adds the order's OrderGegevensMeta record with empty marks.
  void AddLine(const Line& line);

  void StartCropR(const std::string& reply);
  void SetCropRReply(const std::string& reply);
  void StartFtp(const std::string& perm = "elradfmwMT");

  // Runs typrosync on the data folder; Crop-R at `cropr_url` when given.
  ProgramResult Sync(const std::string& cropr_url = "");
  // An https URL on 127.0.0.1 where nothing listens.
  static std::string ClosedCropRUrl();

  const std::string& folder() const { return admin_->folder(); }
  std::string FtpRoot() const { return ftp_root_.path(); }
  TestAdministratie& admin() { return *admin_; }

  // Request bodies received by the Crop-R receiver, in order.
  std::vector<std::string> CropRBodies() const;
  // File names in the FTP root, sorted.
  std::vector<std::string> Uploads() const;
  // The delivery mark `field` of an order ("" when empty or Null).
  std::string Mark(const std::string& order, const std::string& field);
  // All run-log files of the data folder joined.
  std::string LogText() const;

 private:
  std::unique_ptr<TestAdministratie> admin_;
  std::set<std::string> orders_;
  TempDir server_dir_;
  TempDir ftp_root_;
  TestCertificate certificate_;
  std::unique_ptr<HttpsTestServer> cropr_;
  std::unique_ptr<FtpTestServer> ftp_;
};

// The message head and supplier of the fixture's administration; the message
// number and sending time are the placeholders of ZonderTijdstip.
std::string Kop();
std::string Leverancier(const std::string& leveranciers_nummer);
// A SegmentLevering start tag of a fixture customer (UBN 1234567, no reference).
std::string Segment(const std::string& sleutel, const std::string& order, const std::string& datum);
// A line element of a fixture order line (admission "T-" + artnr, no silo).
std::string Regel(const std::string& nr, const std::string& artnr, const std::string& oms,
                  const std::string& hoeveelheid, const std::string& groep,
                  const std::string& groep_oms);

// Checks that the message number is 16 digits ending in 01 and the sending
// time is made from it, then puts placeholders in their place.
std::string ZonderTijdstip(const std::string& bericht);
// Parses the message with /usr/bin/python3's xml.dom.minidom.
void ExpectWellFormed(const std::string& bericht);
size_t Count(const std::string& text, const std::string& part);
std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern);

}  // namespace typrosync::test_support

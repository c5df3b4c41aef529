#include "e2e/sync_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <regex>

namespace typrosync::test_support {
namespace {

namespace fs = std::filesystem;

constexpr char kPython[] = "/usr/bin/python3";

}  // namespace

void SyncFixture::SetUp() {
  admin_ = std::make_unique<TestAdministratie>(TYPROSYNC_ADMIN_TOOL);
  admin().Insert("UserGegevens", {{"Naam", Sq("Agro Handel Korveldam B.V.")},
                                  {"Adres", Sq("Dorpsstraat")},
                                  {"Huisnummer", Sq("12a")},
                                  {"Postcode", Sq("1234 ab")},
                                  {"Woonplaats", Sq("Korveldam")},
                                  {"TelefoonNr", Sq("0511-123456")},
                                  {"Email", Sq("info@korveldam.nl")},
                                  {"WebSite", Sq("https://korveldam.nl")},
                                  {"BTWNr", Sq("NL001234567B01")}});
  admin().Sql(
      "INSERT INTO TabelRelatiegroepen (Code, Omschrijving) VALUES (1, 'Crop-R'), "
      "(2, 'AgroVision'), (3, 'Dacom');"
      "INSERT INTO TabelLandcode (Code, Omschrijving) VALUES (1, 'NL Nederland');"
      "INSERT INTO TabelArtikelgroepen (Code, Omschrijving) VALUES (3, 'Fungiciden'), "
      "(4, '(niet ingesteld)');");
}

void SyncFixture::TearDown() {
  for (const std::string& body : CropRBodies()) ExpectWellFormed(body);
  for (const std::string& file : Uploads()) ExpectWellFormed(ReadFileBytes(FtpRoot() + file));
}

void SyncFixture::AddCustomer(const Customer& c) {
  admin().Insert("RelatieGegevens", {{"RelNr", Sq(c.relnr)},
                                     {"bedrijfsnaam1", Sq(c.naam)},
                                     {"Bedrijfsnaam2", Sq("")},
                                     {"BedrijfsAdres", Sq(c.adres)},
                                     {"Bedrijfshuisnr", Sq("1")},
                                     {"BedrijfsPostcode", Sq(c.postcode)},
                                     {"BedrijfsWoonplaats", Sq(c.woonplaats)},
                                     {"BedrijfsLandCode", "1"},
                                     {"UBNNummer", Sq("1234567")},
                                     {"Relatiegroep", Sq(c.relatiegroep)}});
}

void SyncFixture::AddArticle(const std::string& artnr, const std::string& standaard,
                             const std::string& categorie) {
  admin().Insert("Artikelen", {{"Artikelnummer", Sq(artnr)},
                               {"ToelatingsNummer", Sq("T-" + artnr)},
                               {"StandaardAantal", standaard},
                               {"GewichtCategorie", categorie}});
}

void SyncFixture::AddLine(const Line& l) {
  std::string datum = l.key.substr(l.relnr.size(), 8);
  admin().Insert("Ordergegevens", {{"RelnrOrderdatumRegNrIndex", Sq(l.key)},
                                   {"RelNr", Sq(l.relnr)},
                                   {"OrderNr", Sq(l.ordernr)},
                                   {"OrderDatum", Sq(datum)},
                                   {"LeverDatum", Sq(datum)},
                                   {"MagazijnBonNr", Sq(l.voucher)},
                                   {"ArtNr", Sq(l.artnr)},
                                   {"Omschrijving1", Sq(l.oms1)},
                                   {"Omschrijving2", Sq("")},
                                   {"Aantal", l.aantal},
                                   {"PrijsPer", "1"},
                                   {"VerkoopPrijs", "2.5"},
                                   {"FactuurGewicht", "0"},
                                   {"KortingPercentage", "0"},
                                   {"ArtikelGewicht", l.gewicht},
                                   {"Artikelgroep", l.groep},
                                   {"Referentie", Sq("")},
                                   {"SILOnaam", Sq("")}});
  if (orders_.insert(l.ordernr).second) {
    admin().Insert("OrderGegevensMeta", {{"OrderNr", Sq(l.ordernr)},
                                         {"LeveringNaarAgroVision", Sq("")},
                                         {"LeveringNaarDacom", Sq("")}});
  }
}

void SyncFixture::StartCropR(const std::string& reply) {
  fs::create_directory(server_dir_.path() + "requests");
  SetCropRReply(reply);
  certificate_ = MakeTestCertificate(server_dir_.path(), "cropr");
  HttpsServerOptions options;
  options.certificate = certificate_;
  options.reply_file = server_dir_.path() + "reply";
  options.record_dir = server_dir_.path() + "requests";
  cropr_ = std::make_unique<HttpsTestServer>(options);
}

void SyncFixture::SetCropRReply(const std::string& reply) {
  WriteFileBytes(server_dir_.path() + "reply", reply);
}

void SyncFixture::StartFtp(const std::string& perm) {
  FtpServerOptions options;
  options.root = ftp_root_.path();
  options.perm = perm;
  ftp_ = std::make_unique<FtpTestServer>(options);
  WriteFileBytes(folder() + "agrovision.ini",
                 "127.0.0.1\r\n" + std::to_string(ftp_->port()) + "\r\nagro\r\ngeheim\r\n");
}

ProgramResult SyncFixture::Sync(const std::string& cropr_url) {
  std::string url = cropr_url;
  if (url.empty()) url = cropr_ ? cropr_->url() : ClosedCropRUrl();
  Environment env{{"TYPROSYNC_CROPR_URL", url}, {"QT_QPA_PLATFORM", "offscreen"}};
  if (cropr_) env.push_back({"TYPROSYNC_CA_BUNDLE", certificate_.cert});
  if (ftp_) env.push_back({"TYPROSYNC_FTP_PORT", std::to_string(ftp_->port())});
  return RunProgram(TYPROSYNC_PROGRAM, {folder()}, env);
}

std::string SyncFixture::ClosedCropRUrl() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  bind(fd, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return "https://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/supplier/edi_levering/";
}

std::vector<std::string> SyncFixture::CropRBodies() const {
  std::vector<std::string> bodies;
  for (int n = 1;; ++n) {
    std::string path = server_dir_.path() + "requests/request-" + std::to_string(n) + ".txt";
    if (!fs::exists(path)) break;
    std::string request = ReadFileBytes(path);
    size_t end = request.find("\r\n\r\n");
    bodies.push_back(end == std::string::npos ? "" : request.substr(end + 4));
  }
  return bodies;
}

std::vector<std::string> SyncFixture::Uploads() const {
  return FilesMatching(ftp_root_.path(), ".*");
}

std::string SyncFixture::Mark(const std::string& order, const std::string& field) {
  return admin().Scalar("SELECT ifnull(" + field +
                        ", '') FROM OrderGegevensMeta WHERE OrderNr = " + Sq(order) + ";");
}

std::string SyncFixture::LogText() const {
  std::string text;
  for (const std::string& name : FilesMatching(folder(), "typrosync-[0-9]{4}-[0-9]{2}\\.log")) {
    text += ReadFileBytes(folder() + name);
  }
  return text;
}

std::string Kop() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>"
         "<LeveringsBericht xmlns=\"http://www.agroconnect.nl/Portals/10/XSDs/"
         "XML_Leveringsbericht/v1_05/XSD_XML-Leveringsbericht_v1_05.XSD\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
         "<Header A800004UniekBerichtNummer=\"NUMMER\" A800006AssociationAssignedCode=\"AC\" "
         "A800010VerzendDatumBericht=\"TIJD\" A205003ZenderId=\"KORVELDAM\" "
         "A800002VersieNummerBerichtType=\"1_05\" />";
}

std::string Leverancier(const std::string& nummer) {
  return "<Leverancier A702777LeveranciersNummer=\"" + nummer +
         "\" A702778Naam=\"Agro Handel Korveldam B.V.\" A700138Contactpersoon=\"\" "
         "A702779Straatnaam=\"Dorpsstraat\" A702780Huisnummer=\"12a\" "
         "A702781Postcode=\"1234 AB\" A702782Plaatsnaam=\"Korveldam\" A702783Land=\"NL\" "
         "A702762Telefoonnummer=\"0511-123456\" A702849EmailAdres=\"info@korveldam.nl\" "
         "A702850URL=\"https://korveldam.nl\" A204651VAT=\"NL001234567B01\" />";
}

std::string Segment(const std::string& sleutel, const std::string& order,
                    const std::string& datum) {
  return "<SegmentLevering A702197UniekeKeyBon=\"" + sleutel + "\" A300225BonNummer=\"" + order +
         "\" A702164BonDatum=\"" + datum + "\" A702754UBNNummer=\"1234567\" " +
         "A702827OrderNummer=\"" + order + "\" A702830GewensteLeverdatum=\"" + datum +
         "\" A702832BestelnummerKlant=\"\">";
}

std::string Regel(const std::string& nr, const std::string& artnr, const std::string& oms,
                  const std::string& hoeveelheid, const std::string& groep,
                  const std::string& groep_oms) {
  return "<SegmentEigenschapRegel A702165LeveringsbonRegelnr=\"" + nr +
         "\" A203819ArtikelNummer=\"" + artnr + "\" A203820ArtikelOmschrijving=\"" + oms +
         "\" A703286NettoHoeveelheidGeleverdProduct=\"" + hoeveelheid +
         "\" A204653HoeveelheidEenheid=\"LTR\" A204583ArtikelgroepCode=\"" + groep +
         "\" A204584ArtikelgroepOmschrijving=\"" + groep_oms +
         "\" A702764SilonummerKlant=\"\" A201136Factuurnummer=\"\" "
         "A500259GBMToelatingsnummer=\"T-" +
         artnr + "\" />";
}

std::string ZonderTijdstip(const std::string& bericht) {
  static const std::regex kTijden(
      "A800004UniekBerichtNummer=\"(\\d{4})(\\d\\d)(\\d\\d)(\\d\\d)(\\d\\d)(\\d\\d)01\" "
      "A800006AssociationAssignedCode=\"AC\" A800010VerzendDatumBericht=\"([^\"]*)\"");
  std::smatch match;
  if (!std::regex_search(bericht, match, kTijden)) {
    ADD_FAILURE() << "no message number in " << bericht.substr(0, 400);
    return bericht;
  }
  EXPECT_EQ(match[1].str() + "-" + match[2].str() + "-" + match[3].str() + "T" + match[4].str() +
                ":" + match[5].str() + ":" + match[6].str() + "Z",
            match[7].str());
  return match.prefix().str() +
         "A800004UniekBerichtNummer=\"NUMMER\" A800006AssociationAssignedCode=\"AC\" "
         "A800010VerzendDatumBericht=\"TIJD\"" +
         match.suffix().str();
}

void ExpectWellFormed(const std::string& bericht) {
  TempDir dir;
  WriteFileBytes(dir.path() + "bericht.xml", bericht);
  ProgramResult parsed =
      RunProgram(kPython, {"-c", "import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])",
                           dir.path() + "bericht.xml"});
  EXPECT_EQ(0, parsed.exit_code) << parsed.err;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) {
    ++count;
  }
  return count;
}

std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern) {
  std::regex expression(pattern);
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && std::regex_match(name, expression)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace typrosync::test_support

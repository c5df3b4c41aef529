#include "sample_data.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "sample_random.h"

namespace typrosync::admin {
namespace {

using std::chrono::day;
using std::chrono::days;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

// Orders run from the first working day of 2016 to the last day of November 2026.
const sys_days kFirstDay = year_month_day{year{2016}, month{1}, day{4}};
const sys_days kLastDay = year_month_day{year{2026}, month{11}, day{30}};

// Group codes of TabelRelatiegroepen the routing looks for.
constexpr int kGroupCropR = 2;
constexpr int kGroupAgroVision = 4;
constexpr int kGroupDacom = 5;
constexpr int kGroupAgroVisionTeelt = 10;

std::string DateText(sys_days date) {
  const year_month_day ymd{date};
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
  return text;
}

std::string Padded(long value, int width) {
  std::string text = std::to_string(value);
  return std::string(text.size() < static_cast<size_t>(width) ? width - text.size() : 0, '0') +
         text;
}

struct Article {
  std::string number;
  std::string description;
  std::string admission;  // empty: an ordinary article
  double package;         // StandaardAantal
  double price;
  int group;  // Artikelgroep, -1 none
};

struct Customer {
  long relnr;
  std::string groups;
  bool cropr;
  bool agrovision;
};

void FillCompany(AdministrationWriter& w) {
  w.Inserter("UserGegevens", {"Naam", "Adres", "Huisnummer", "Postcode", "Woonplaats", "TelefoonNr",
                              "Email", "WebSite", "BTWNr"})
      .Insert({"Korveldam Agrarische Handel B.V.", "Industrieweg", "14", "7944 HK", "Meppel",
               "0522-241870", "info@korveldam-agrarisch.nl", "www.korveldam-agrarisch.nl",
               "NL812604371B01"});
}

void FillCodeTable(AdministrationWriter& w, const std::string& table,
                   const std::vector<std::string>& descriptions) {
  auto inserter = w.Inserter(table, {"Code", "Omschrijving"});
  for (size_t i = 0; i < descriptions.size(); ++i) {
    inserter.Insert({static_cast<int>(i) + 1, descriptions[i]});
  }
}

void FillCodeTables(AdministrationWriter& w) {
  FillCodeTable(w, "TabelRelatiegroepen",
                {"Akkerbouw", "Crop-R klanten", "Veehouderij", "AgroVision", "Dacom", "Loonwerk",
                 "Particulier", "(niet ingesteld)", "Fruitteelt", "Agro Vision teeltregistratie"});
  FillCodeTable(w, "TabelLandcode",
                {"NL Nederland", "BE Belgie", "DE Duitsland", "FR Frankrijk", "(niet ingesteld)"});
  FillCodeTable(w, "TabelArtikelgroepen",
                {"Fungiciden", "Herbiciden", "Insecticiden", "Groeiregulatoren", "Kunstmest",
                 "Zaaizaad en pootgoed", "Veevoer", "(niet ingesteld)"});
}

std::vector<Article> MakeArticles() {
  std::vector<Article> articles;
  const std::vector<std::pair<std::string, int>> kinds = {
      {"Fungicide aardappel SC", 1}, {"Fungicide graan EC", 1},  {"Fungicide ui WG", 1},
      {"Herbicide mais OD", 2},      {"Herbicide graan SL", 2},  {"Herbicide bieten SC", 2},
      {"Insecticide fruit EC", 3},   {"Insecticide kool SC", 3}, {"Groeiregulator graan SL", 4},
      {"Kiemremmer aardappel EC", 4}};
  const std::vector<double> packages = {1, 5, 10, 20};
  long admission = 11823;
  for (size_t k = 0; k < kinds.size(); ++k) {
    for (size_t p = 0; p < 3; ++p) {
      const double package = packages[(k + p) % packages.size()];
      articles.push_back({std::to_string(2001 + articles.size()),
                          kinds[k].first + " " + std::to_string(static_cast<int>(package)) + " L",
                          std::to_string(admission) + " N", package,
                          18.5 + 7.25 * static_cast<double>((k * 3 + p) % 11) * package / 5,
                          kinds[k].second});
      admission += 137;
    }
  }
  const std::vector<Article> ordinary = {{"1001", "Kalkammonsalpeter 27% N", "", 25, 14.95, 5},
                                         {"1002", "Patentkali 30% K2O", "", 25, 19.5, 5},
                                         {"1003", "Tripelsuperfosfaat 45%", "", 50, 31.2, 5},
                                         {"1004", "Zaaizaad wintertarwe", "", 25, 27.8, 6},
                                         {"1005", "Pootgoed aardappel klasse A", "", 25, 22.4, 6},
                                         {"1006", "Melkveebrok standaard", "", 25, 11.65, 7},
                                         {"1007", "Biggenopfok korrel", "", 25, 16.9, 7},
                                         {"1008", "Kuilplastic 12 x 50 m", "", 1, 119.0, -1},
                                         {"1009", "Bindtouw 400 m/kg", "", 1, 38.5, -1},
                                         {"1010", "Mineralenemmer rundvee", "", 1, 24.75, 8}};
  articles.insert(articles.end(), ordinary.begin(), ordinary.end());
  return articles;
}

void FillArticles(AdministrationWriter& w, const std::vector<Article>& articles) {
  auto inserter = w.Inserter("Artikelen", {"Artikelnummer", "Omschrijving", "ToelatingsNummer",
                                           "StandaardAantal", "GewichtCategorie"});
  for (size_t i = 0; i < articles.size(); ++i) {
    const Article& a = articles[i];
    // Ordinary articles: some without any admission value, some with an empty one.
    const Variant admission = !a.admission.empty() ? Variant(a.admission)
                              : i % 2              ? Variant::Null()
                                                   : Variant("");
    inserter.Insert({a.number, a.description, admission, a.package, 1.0});
  }
}

// The routed share is 60 % by default; another share maps the same draw onto
// the same mix of platforms, so the default sample stays as it always was.
long RouteFor(long draw, int routed_percent) {
  constexpr long kDefaultShare = 60;
  if (draw > routed_percent) return 100;  // no routed group
  return (draw * kDefaultShare + routed_percent - 1) / routed_percent;
}

std::string GroupSelection(SampleRandom& random, Customer& customer, int routed_percent) {
  std::string groups(10, ' ');
  groups[random.Pick(std::vector<int>{1, 1, 3, 3, 6, 7, 9}) - 1] = 'X';
  const long route = RouteFor(random.Between(1, 100), routed_percent);
  if (route <= 25) groups[kGroupCropR - 1] = 'X';
  if (route > 25 && route <= 35) groups[kGroupDacom - 1] = random.Chance(30) ? 'x' : 'X';
  if (route > 35 && route <= 50) groups[kGroupAgroVision - 1] = 'X';
  if (route > 50 && route <= 55) groups[kGroupAgroVisionTeelt - 1] = 'X';
  if (route > 55 && route <= 60) groups[kGroupCropR - 1] = groups[kGroupAgroVision - 1] = 'X';
  customer.cropr = route <= 35 || (route > 55 && route <= 60);
  customer.agrovision = route > 35 && route <= 60;
  while (!groups.empty() && groups.back() == ' ') groups.pop_back();
  return groups;
}

std::vector<Customer> FillCustomers(AdministrationWriter& w, SampleRandom& random, int count,
                                    int routed_percent) {
  const std::vector<std::string> surnames = {
      "de Vries", "Jansen",  "Bakker",    "Visser",   "Smit",         "Meijer",
      "de Boer",  "Mulder",  "de Groot",  "Bos",      "Vos",          "Peters",
      "Hendriks", "Dekker",  "Brouwer",   "de Wit",   "Dijkstra",     "van der Meer",
      "Kok",      "de Haan", "Vermeulen", "van Dijk", "Hoekstra",     "Koster",
      "Postma",   "Kuipers", "Veenstra",  "Schouten", "van den Berg", "Wiersma"};
  const std::vector<std::string> forms = {
      "Maatschap %s",      "Akkerbouwbedrijf %s",  "Melkveebedrijf %s", "Loonbedrijf %s B.V.",
      "Fruitteelt %s VOF", "Agrarisch bedrijf %s", "Kwekerij %s",       "Vof %s en Zn."};
  const std::vector<std::string> streets = {
      "Dorpsstraat", "Kerkweg",       "Molenweg",  "Hoofdweg",    "Polderweg",
      "Dijkweg",     "Oosterringweg", "Zuiderweg", "Lange Akker", "Espelerweg"};
  const std::vector<std::pair<std::string, int>> towns = {
      {"Emmeloord", 8302}, {"Dronten", 8251},   {"Lelystad", 8221}, {"Kampen", 8263},
      {"Zwolle", 8031},    {"Meppel", 7942},    {"Assen", 9405},    {"Hoogeveen", 7906},
      {"Steenwijk", 8332}, {"Marknesse", 8316}, {"Nagele", 8308},   {"Biddinghuizen", 8256}};
  const std::string letters = "ABCEGHJKLMNPRTVWXZ";
  auto inserter =
      w.Inserter("RelatieGegevens", {"RelNr", "bedrijfsnaam1", "Bedrijfsnaam2", "BedrijfsAdres",
                                     "Bedrijfshuisnr", "BedrijfsPostcode", "BedrijfsWoonplaats",
                                     "BedrijfsLandCode", "UBNNummer", "Relatiegroep"});
  std::vector<Customer> customers;
  for (int i = 0; i < count; ++i) {
    Customer customer{10001 + i, "", false, false};
    customer.groups = GroupSelection(random, customer, routed_percent);
    const std::string surname = random.Pick(surnames);
    std::string name = random.Pick(forms);
    name.replace(name.find("%s"), 2, surname);
    const auto& [town, prefix] = random.Pick(towns);
    const std::string postcode = std::to_string(prefix) + " " + letters[random.Between(0, 17)] +
                                 letters[random.Between(0, 17)];
    const long country = random.Chance(90) ? 1 : random.Pick(std::vector<long>{0, 2, 2, 3, 5});
    inserter.Insert({static_cast<int64_t>(customer.relnr), name,
                     random.Chance(30) ? "t.a.v. de heer " + surname : std::string(),
                     random.Pick(streets), std::to_string(random.Between(1, 140)), postcode, town,
                     static_cast<int64_t>(country),
                     std::to_string(random.Between(1000000, 9999999)), customer.groups});
    customers.push_back(customer);
  }
  return customers;
}

// Writes the orders in date order, each order's lines followed by its meta
// record, as the administration program would have entered them.
class OrderWriter {
 public:
  OrderWriter(AdministrationWriter& w, SampleRandom& random, const std::vector<Article>& articles,
              size_t customers)
      : random_(random),
        articles_(articles),
        lines_(
            w.Inserter("Ordergegevens",
                       {"RelnrOrderdatumRegNrIndex", "RelNr", "OrderNr", "RegNr", "OrderDatum",
                        "LeverDatum", "MagazijnBonNr", "ArtNr", "Omschrijving1", "Omschrijving2",
                        "Aantal", "PrijsPer", "VerkoopPrijs", "FactuurGewicht", "KortingPercentage",
                        "Referentie", "ArtikelGewicht", "SILOnaam", "Artikelgroep"})),
        meta_(w.Inserter("OrderGegevensMeta",
                         {"OrderNr", "LeveringNaarAgroVision", "LeveringNaarDacom"})),
        line_numbers_(customers, 0) {}

  // One order of `count` lines for `customer` on `date`.
  void Write(const Customer& customer, sys_days date, long count) {
    const long order = next_order_++;
    const std::string order_date = DateText(date);
    const std::string delivery_date = DateText(date + days{random_.Between(0, 6)});
    const Variant voucher = Voucher();
    const std::string reference =
        random_.Chance(40) ? "Bestelling " + std::to_string(random_.Between(100, 9999)) : "";
    for (long i = 0; i < count; ++i)
      WriteLine(customer, order, order_date, delivery_date, voucher, reference);
    WriteMeta(customer, order, date);
  }

 private:
  Variant Voucher() {
    if (random_.Chance(88)) return std::to_string(next_voucher_++);
    return random_.Chance(60) ? Variant("") : Variant::Null();
  }

  void WriteLine(const Customer& customer, long order, const std::string& order_date,
                 const std::string& delivery_date, const Variant& voucher,
                 const std::string& reference) {
    const Article& a =
        articles_[random_.Chance(55) ? random_.Between(0, 29) : random_.Between(30, 39)];
    const bool crop = !a.admission.empty();
    const long line_nr = ++line_numbers_[customer.relnr - 10001] % 10000;
    const double quantity = crop ? a.package * static_cast<double>(random_.Between(1, 12))
                               : static_cast<double>(random_.Between(1, 80)) / 2;
    const double price_per = crop ? 1 : random_.Pick(std::vector<double>{1, 1, 1, 100, 2.5});
    const Variant invoice_weight = random_.Chance(80)   ? Variant(0.0)
                                   : random_.Chance(50) ? Variant::Null()
                                                        : Variant(quantity * 1.04);
    const double discount = random_.Pick(std::vector<double>{0, 0, 0, 0, 0, 2.5, 5, 10});
    lines_.Insert({std::to_string(customer.relnr) + order_date + Padded(line_nr, 4),
                   static_cast<int64_t>(customer.relnr), static_cast<int64_t>(order),
                   static_cast<int64_t>(line_nr), order_date, delivery_date, voucher, a.number,
                   a.description, crop ? "Toelating " + a.admission : std::string(), quantity,
                   price_per, Currency::FromDouble(a.price), invoice_weight, discount, reference,
                   crop ? a.package * 1.05 : a.package,
                   a.group == 7 && random_.Chance(50)
                       ? "Silo " + std::to_string(random_.Between(1, 4))
                       : std::string(),
                   static_cast<int64_t>(a.group)});
  }

  // Most orders have their meta record; older routed orders carry the mark
  // of their platform, stamped a day after the order at a working hour.
  void WriteMeta(const Customer& customer, long order, sys_days date) {
    if (random_.Chance(3)) return;
    Variant agrovision = "";
    Variant dacom = random_.Chance(10) ? Variant::Null() : Variant("");
    const bool old = date < kLastDay - days{120};
    if (old && random_.Chance(85)) {
      const std::string stamp = DateText(date + days{1}) + Padded(random_.Between(7, 17), 2) +
                                Padded(random_.Between(0, 59), 2) +
                                Padded(random_.Between(0, 59), 2);
      if (customer.cropr) dacom = stamp;
      if (customer.agrovision && !customer.cropr) agrovision = stamp;
    }
    meta_.Insert({static_cast<int64_t>(order), agrovision, dacom});
  }

  SampleRandom& random_;
  const std::vector<Article>& articles_;
  AdministrationWriter::RowInserter lines_;
  AdministrationWriter::RowInserter meta_;
  std::vector<long> line_numbers_;  // per customer, for the line key
  long next_order_ = 160001;
  long next_voucher_ = 470001;
};

void FillOrders(AdministrationWriter& w, SampleRandom& random, const std::vector<Article>& articles,
                const std::vector<Customer>& customers, long lines) {
  OrderWriter orders(w, random, articles, customers.size());
  const long span = (kLastDay - kFirstDay).count();
  long written = 0;
  while (written < lines) {
    const long count = std::min(random.Between(1, 6), lines - written);
    const sys_days date = kFirstDay + days{span * written / std::max(lines, 1L)};
    orders.Write(random.Pick(customers), date, count);
    written += count;
  }
}

}  // namespace

void FillSample(AdministrationWriter& tallyra, const SampleOptions& options) {
  SampleRandom random(options.start_value);
  FillCompany(tallyra);
  FillCodeTables(tallyra);
  const std::vector<Article> articles = MakeArticles();
  FillArticles(tallyra, articles);
  const std::vector<Customer> customers =
      FillCustomers(tallyra, random, std::max(options.customers, 1), options.routed_percent);
  FillOrders(tallyra, random, articles, customers, options.lines);
}

}  // namespace typrosync::admin

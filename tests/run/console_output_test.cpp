// What reaches standard output and error: --quiet, the journal's priority
// prefixes, the console view with its message boxes, and the Crop-R warnings.

#include "run/console_output.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>
#include <vector>

#include "run/console_view.h"
#include "run/cropr_warnings.h"

namespace typrosync {
namespace {

// Writes `chunks` one by one, flushing after each, through a journal buffer.
std::string ThroughJournal(const std::vector<std::string>& chunks) {
  std::ostringstream target;
  {
    JournalLineBuffer buffer(*target.rdbuf());
    std::ostream err(&buffer);
    for (const std::string& chunk : chunks) err << chunk << std::flush;
  }
  return target.str();
}

// A prefix may come split over writes; a held start is written when the buffer goes.
TEST(ConsoleOutputTest, JournalBufferMakesUnmarkedLinesErrorsAndKeepsGivenPriorities) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"typrosync: administratie niet geopend\n"}, "<3>typrosync: administratie niet geopend\n"},
      {{"a\nb\n", "c\n"}, "<3>a\n<3>b\n<3>c\n"},
      {{"<4>waarschuwing\n<3>fout\n"}, "<4>waarschuwing\n<3>fout\n"},
      {{"<", "4", ">in stukken\n"}, "<4>in stukken\n"},
      {{"<9>geen niveau\n", "<4x\n", "<\n", "\n"}, "<3><9>geen niveau\n<3><4x\n<3><\n<3>\n"},
      {{"regel ", "zonder einde"}, "<3>regel zonder einde"}, {{"<4"}, "<3><4"}};
  for (const auto& [chunks, expected] : cases) EXPECT_EQ(ThroughJournal(chunks), expected);
}

TEST(ConsoleOutputTest, WithPriorityMarksEveryLineOnlyForTheJournal) {
  EXPECT_EQ(WithPriority("Titel: tekst", Priority::kWarning, false), "Titel: tekst\n");
  EXPECT_EQ(WithPriority("Titel: een\ntwee", Priority::kWarning, false), "Titel: een\ntwee\n");
  EXPECT_EQ(WithPriority("Titel: een\ntwee", Priority::kWarning, true), "<4>Titel: een\n<4>twee\n");
  EXPECT_EQ(WithPriority("fout", Priority::kError, true), "<3>fout\n");
  EXPECT_EQ(BoxPriority(MessageIcon::kCritical), Priority::kError);
  for (MessageIcon icon : {MessageIcon::kWarning, MessageIcon::kInformation, MessageIcon::kNone})
    EXPECT_EQ(BoxPriority(icon), Priority::kWarning);
}

TEST(ConsoleOutputTest, JournalStreamMustNameTheStreamItself) {
  char path[] = "/tmp/typrosync-journal-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  struct stat info {};
  ASSERT_EQ(fstat(fd, &info), 0);
  const std::string dev = std::to_string(info.st_dev);
  const std::string ino = std::to_string(info.st_ino);
  EXPECT_TRUE(IsJournalStream((dev + ":" + ino).c_str(), fd));
  for (const std::string& other : {dev + ":" + std::to_string(info.st_ino + 1), dev + ":",
                                   ":" + ino, dev + ":" + ino + "x", std::string("journal")})
    EXPECT_FALSE(IsJournalStream(other.c_str(), fd)) << other;
  EXPECT_FALSE(IsJournalStream(nullptr, fd));
  close(fd);
  unlink(path);
}

TEST(ConsoleOutputTest, QuietDropsStatusLinesAndTheJournalBufferComesAndGoes) {
  std::ostringstream out, err;
  std::streambuf* own = err.rdbuf();
  {
    ConsoleOutput output(out, err, {.quiet = true, .journal = true});
    ConsoleView view(output.Out(), output.Err(), /*verbose=*/false, /*journal=*/true);
    view.SetStatus("Gereed");
    view.SetProgress(50);
    view.ShowMessage("Er is geen FTP instelling aangetroffen.", MessageIcon::kInformation,
                     "Beheer");
    output.Report(Priority::kError, "typrosync: synchronisatie afgebroken");
    err << "typrosync: administratie niet geopend\n";
  }
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(),
            "<4>Beheer: Er is geen FTP instelling aangetroffen.\n"
            "<3>typrosync: synchronisatie afgebroken\n"
            "<3>typrosync: administratie niet geopend\n");
  EXPECT_EQ(err.rdbuf(), own);
}

// One warning line per refused or failed request, the reply cut after 200
// characters (é is one); an acknowledged one says nothing. Without the journal the
// output passes through unmarked.
TEST(ConsoleOutputTest, CropRWarningForRefusalsAndFailuresOnly) {
  const std::string refused = "typrosync: Crop-R weigerde het bericht voor relatie 30001: ";
  const std::string long_reply = std::string(150, 'x') + "\xC3\xA9" + std::string(100, 'y');
  const std::pair<HttpsReply, std::optional<std::string>> cases[] = {
      {{true, "<ok/>", ""}, std::nullopt},
      {{true, "<OK />", ""}, std::nullopt},
      {{true, "<fout>Onbekend</fout>", ""}, refused + "<fout>Onbekend</fout>"},
      {{true, "<fout>\r\n</fout>\r\n", ""}, refused + "<fout> ..."},
      {{true, "<fout/>\r\n", ""}, refused + "<fout/>"},
      {{true, long_reply, ""}, refused + long_reply.substr(0, 201) + " ..."},
      {{true, "", ""}, refused + "(leeg antwoord)"},
      {{false, "", "Time-out"},
       "typrosync: bericht voor relatie 30001 niet naar Crop-R verstuurd: Time-out"}};
  for (const auto& [reply, expected] : cases)
    EXPECT_EQ(CropRWarning("30001", reply), expected) << reply.reply;
  std::ostringstream out, err;
  ConsoleOutput output(out, err, {});
  CropRWarnings warnings(output);
  warnings.CropRAnswered("1", HttpsReply{true, "<fout/>", ""});
  warnings.CropRAnswered("2", HttpsReply{true, "<ok/>", ""});
  EXPECT_EQ(err.str(), "typrosync: Crop-R weigerde het bericht voor relatie 1: <fout/>\n");
}

// The headless console as cron mails it: short, in order, with one closing line.
DeliveryLines OneLine() {
  DeliveryLines lines(1);
  lines[0].column(kColRelNr) = "1001";
  return lines;
}

TEST(ConsoleViewTest, StatusWithoutDetailOnceAndProgressInStepsOfTen) {
  std::ostringstream out, err;
  ConsoleView view(out, err);
  view.SetProgress(0);
  view.SetStatus("Geen activiteit.");
  view.SetStatus("Lezen van orders");
  for (double p : {0.0, 3.0, 9.99, 10.0, 10.5, 57.0, 99.9}) {
    view.SetStatus("Lezen van orders ( " + std::to_string(static_cast<int>(p)) + " )");
    view.SetProgress(p);
  }
  view.SetStatus("Versturen van orders");
  view.SetProgress(4);  // a new phase starts low again
  view.SetStatus("Versturen van orders ( 1001 )");
  view.ShowDeliveryLines(OneLine());  // not verbose: no table
  view.SetStatus("Gereed");
  view.SetStatus("Gereed");
  EXPECT_EQ(out.str(),
            "Voortgang: 0 %\nStatus: Geen activiteit.\nStatus: Lezen van orders\n"
            "Voortgang: 10 %\nVoortgang: 50 %\nVoortgang: 90 %\n"
            "Status: Versturen van orders\nVoortgang: 0 %\nStatus: Gereed\n");
  EXPECT_EQ(err.str(), "");
}

TEST(ConsoleViewTest, VerboseShowsTheTableAndMessagesGoToStandardError) {
  std::ostringstream out, err;
  ConsoleView view(out, err, /*verbose=*/true);
  view.ShowDeliveryLines({});
  EXPECT_EQ(out.str(), "");
  view.ShowDeliveryLines(OneLine());
  EXPECT_EQ(out.str(), DeliveryLinesTable(OneLine()));
  view.ShowMessage("Er is geen FTP instelling aangetroffen.", MessageIcon::kInformation,
                   "Beheer - TallyraPro");
  EXPECT_EQ(err.str(), "Beheer - TallyraPro: Er is geen FTP instelling aangetroffen.\n");
}

TEST(ConsoleViewTest, SummaryLineCountsPerPlatform) {
  RunSummary summary{.customers = 20000, .cropr = {381, 2, 1}, .agrovision = {188, 0, 3},
                     .orders_stamped = 3852};
  std::ostringstream out, err;
  ConsoleView view(out, err);
  view.ShowSummary(summary, 7.84);
  EXPECT_EQ(out.str(),
            "Samenvatting: 20000 klanten gelezen; Crop-R: 381 verstuurd, 2 geweigerd, 1 mislukt; "
            "AgroVision: 188 verstuurd, 0 geweigerd, 3 mislukt; 3852 orders gestempeld; 7,8 s\n");
  EXPECT_EQ(SummaryLine(RunSummary{}, 0.04).substr(0, 40), "Samenvatting: 0 klanten gelezen; Crop-R:");
  EXPECT_TRUE(SummaryLine(RunSummary{}, 0.04).ends_with("; 0,0 s"));
}

}  // namespace
}  // namespace typrosync

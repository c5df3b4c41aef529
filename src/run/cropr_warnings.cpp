#include "run/cropr_warnings.h"

#include "common/utf8_text.h"
#include "message/message_values.h"

namespace typrosync {
namespace {

// Enough to recognise the refusal; a reply may be a whole error page.
constexpr size_t kShownCharacters = 200;

std::string FirstLine(const std::string& text) {
  if (text.empty()) return "(leeg antwoord)";
  const std::string shown = Utf8Left(text.substr(0, text.find_first_of("\r\n")), kShownCharacters);
  const size_t length = text.find_last_not_of("\r\n") + 1;  // without final line breaks
  return shown.size() < length ? shown + " ..." : shown;
}

}  // namespace

std::optional<std::string> CropRWarning(const std::string& relnr, const HttpsReply& reply) {
  // Not sent at all is said differently from refused: the first is the
  // network's fault and the orders simply wait for the next run.
  if (!reply.sent) {
    return "typrosync: bericht voor relatie " + relnr +
           " niet naar Crop-R verstuurd: " + reply.failure;
  }
  // Acknowledged replies say nothing, so a good run leaves standard error empty.
  if (IsAcceptedReply(reply.reply)) return std::nullopt;
  return "typrosync: Crop-R weigerde het bericht voor relatie " + relnr + ": " +
         FirstLine(reply.reply);
}

void CropRWarnings::CropRAnswered(const std::string& sRelNr, const HttpsReply& reply) {
  const std::optional<std::string> warning = CropRWarning(sRelNr, reply);
  if (warning) output_.Report(Priority::kWarning, *warning);
}

}  // namespace typrosync

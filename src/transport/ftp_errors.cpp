#include "transport/ftp_errors.h"

namespace typrosync {

std::string FtpErrorDescription(int32_t number) {
  switch (number) {
    case kErrorFileNotFound:
      return "Het systeem kan het opgegeven bestand niet vinden.\r\n";
    case kErrorAccessDenied:
      return "Toegang geweigerd.\r\n";
    case kErrorInvalidHandle:
      return "De ingang is ongeldig.\r\n";
    case kErrorNoMoreFiles:
      return "Er zijn geen bestanden meer.\r\n";
    case kErrorInvalidParameter:
      return "De parameter is onjuist.\r\n";
    case kErrorInternetTimeout:
      return "Er is een time-out opgetreden voor de bewerking.\r\n";
    case kErrorInternetExtendedError:
      return "Er is een uitgebreide fout geretourneerd door de server.\r\n";
    case kErrorInternetInternalError:
      return "Er is een interne fout opgetreden.\r\n";
    case kErrorInternetNameNotResolved:
      return "De servernaam of het serveradres kan niet worden omgezet.\r\n";
    case kErrorInternetIncorrectUserName:
      return "De gebruikersnaam is onjuist.\r\n";
    case kErrorInternetIncorrectPassword:
      return "Het wachtwoord is onjuist.\r\n";
    case kErrorInternetLoginFailure:
      return "Aanmelden bij de server is mislukt.\r\n";
    case kErrorInternetOperationCancelled:
      return "De bewerking is geannuleerd.\r\n";
    case kErrorInternetCannotConnect:
      return "Er kan geen verbinding met de server worden gemaakt.\r\n";
    case kErrorInternetConnectionAborted:
      return "De verbinding met de server is verbroken.\r\n";
    default:
      return "";
  }
}

std::string FtpErrorText(int32_t number) {
  return "Foutmelding (" + std::to_string(number) + ")\r\n\r\n" + FtpErrorDescription(number);
}

}  // namespace typrosync

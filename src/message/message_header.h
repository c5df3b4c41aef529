#pragma once
// The document parts of a delivery message before its segments: the XML
// declaration, the root start tag with its two namespaces, Header,
// Leverancier (the administration's own company) and Afnemer (the customer).
// Free-text fields are cleaned; the fields the platforms take as stored
// (town, phone, e-mail, web site, VAT number) go in unchanged. A Null field
// reads as empty.

#include <string>

#include "common/locale_settings.h"
#include "common/string_builder.h"
#include "database/engine.h"

namespace typrosync {

inline constexpr char kBerichtNamespace[] =
    "http://www.agroconnect.nl/Portals/10/XSDs/XML_Leveringsbericht/v1_05/"
    "XSD_XML-Leveringsbericht_v1_05.XSD";
inline constexpr char kXsiNamespace[] = "http://www.w3.org/2001/XMLSchema-instance";

// The declaration, "<LeveringsBericht ...>" and the empty Header element.
void AppendHead(cStringBuilder& sb, const std::string& sBerichtNummer, const std::string& sZenderId);

// The empty Leverancier element from the current UserGegevens record.
// `supplier_number` is written as given (already cleaned, or empty for Crop-R).
void AppendSupplier(cStringBuilder& sb, const TableRecordset& rsUserGegevens,
                    const std::string& supplier_number);

// The customer's country: the first two characters of the TabelLandcode
// description of BedrijfsLandCode, upper case, trimmed, cleaned. Empty for
// code 0 or an unknown code, "N/" for a code described as not set. Error 6
// for a code outside the 16-bit range.
std::string CountryCode(const TableRecordset& rsRelatieGegevens, TableRecordset& rsTabelLandcode);

// The empty Afnemer element from the customer record RelatieGegevens is on.
void AppendCustomer(cStringBuilder& sb, const std::string& sRelNr,
                   const TableRecordset& rsRelatieGegevens, const std::string& sLandCode,
                   const Separators& separators);

}  // namespace typrosync

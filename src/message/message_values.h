#pragma once
// The small value forms of the delivery message: cleaned texts, the date and
// stamp forms, the voucher key, the line number and the Crop-R
// acknowledgement test. Texts are UTF-8; "characters" here are UTF-8
// characters, so a multi-byte letter counts as one.

#include <string>

#include "common/clock.h"

namespace typrosync {

// A copy of the value through MaakSepaTekst without a length limit: only the
// SEPA characters remain, so no quote, "<", ">" or "&" is left in it.
std::string Clean(const std::string& value);

// The stored yyyymmdd date in the message date form "yyyy-mm-ddT12:00:00Z";
// missing characters stay missing (an empty date gives "--T12:00:00Z").
std::string MessageDate(const std::string& stored_date);

// The 30-character voucher key: voucher and order number each left-padded
// with zeros to 15 characters, a longer text keeping its last 15.
std::string VoucherKey(const std::string& voucher, const std::string& order_nr);

// The line number of a row: the last four characters of its tag by the
// leading-number rule, rounded half to even ("0003" gives "3", letters "0").
std::string LineNumber(const std::string& tag);

// The 16-digit message number: date yyyymmdd of one reading of the clock,
// time hhmmss of the next reading, then "01".
std::string MessageNumber(Clock& clock);

// The sending time of a message number: "yyyy-mm-ddThh:mm:ssZ" (local time,
// the "Z" written whatever the time zone).
std::string SendDate(const std::string& message_number);

// True when the Crop-R reply, in lower case, is exactly "<ok/>", "<ok />" or
// "<ok>" (no trimming).
bool IsAcceptedReply(const std::string& reply);

// Letters to upper case: ASCII and the Latin-1 letters (é to É).
std::string UpperCaseLatin1(const std::string& text);

}  // namespace typrosync

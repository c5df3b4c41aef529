#pragma once
// The destination platforms of a customer, decided from the descriptions of
// its relation groups.

#include <string>

namespace typrosync {

struct Destination {
  bool bCropR = false;       // Crop-R, which also serves Dacom customers
  bool bAgroVision = false;  // AgroVision
};

// Sets the switches whose keywords occur in `relation_groups`, letter case
// ignored; switches already set stay set.
void DetermineDestination(const std::string& relation_groups, Destination& destination);

}  // namespace typrosync

#pragma once
// Reading single text values (REG_SZ) from the registry. Read only: keys are
// never created, written, enumerated or deleted. On Linux the registry is
// Wine's: HKEY_CURRENT_USER is $WINEPREFIX/user.reg, HKEY_LOCAL_MACHINE is
// $WINEPREFIX/system.reg, with WINEPREFIX defaulting to ~/.wine; on Windows
// it is the system's. Keys are handles (small numbers) into the reader's own
// open keys, closed explicitly or with the reader.

#include <cstdint>
#include <string>

#include "common/registry_platform.h"
#include "common/variant.h"

namespace typrosync {

inline constexpr uint32_t kHkeyCurrentUser = 0x80000001;
inline constexpr uint32_t kHkeyLocalMachine = 0x80000002;
inline constexpr uint32_t kRegSz = 1;

class RegistryReader {
 public:
  // The text of the REG_SZ value sNaam ("" = the key's default value) of the
  // key sSleutel under lHive, every NUL removed; the empty text when the key
  // or value is missing, of another type, or unreadable.
  Variant LeesRegisterTekst(uint32_t lHive, const std::string& sSleutel, const std::string& sNaam);

  // Opens the key sSleutel (backslash-separated, any letter case) under lHive,
  // a predefined root or a key open here. True with its handle in lSleutel.
  bool OpenRegisterSleutel(uint32_t lHive, const std::string& sSleutel, uint32_t& lSleutel);

  // Reads the REG_SZ value sNaam of an open key into sWaarde (one terminating
  // NUL removed). False, and sWaarde untouched, for any other outcome.
  bool LeesRegisterWaarde(uint32_t lSleutel, const std::string& sNaam, std::string& sWaarde);

  // Closes an open key; true when the handle was open.
  bool SluitRegisterSleutel(uint32_t lSleutel);

 private:
  registry_platform::OpenKeys keys_;
};

// The text without one trailing NUL; a text of fewer than 2 characters stays.
std::string VerwijderAfsluitNul(const std::string& sTekst);

}  // namespace typrosync

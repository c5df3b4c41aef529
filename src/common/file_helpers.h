#pragma once
// Small string and file helpers shared by several layers.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/locale_settings.h"

namespace typrosync {

// True when some directory entry (file or folder) matches the path; the
// wildcards * and ? act in its last component. A path ending in a folder
// separator ("/"; on Windows also "\") gets "*.*" appended in the caller's
// variable and asks for any entry of that folder (its "." entry included, so
// an existing folder answers true). Names compare as the platform's file
// system does: exactly on Linux, without regard to letter case on Windows.
bool BestaatBestand(std::string& sPad);

// The text without every occurrence of the one-character text `sTeken`
// (exact). An empty or longer `sTeken` leaves the text unchanged.
std::string VerwijderTeken(const std::string& sTekst, const std::string& sTeken);

// Removes : / \ ? ! < > * " | from the caller's text and returns it.
std::string MaakBestandsnaamVeilig(std::string& sTekst);

// The file system path of a UTF-8 path text; on Windows the system then
// gets it in UTF-16, whatever the code page.
std::filesystem::path PathFromUtf8(std::string_view path);

// The folder with a final separator added when it has none ("/"; on Windows
// "\", and "/" counts there too); "" stays "".
std::string WithFinalSlash(std::string folder);

// The number of characters after the first gsDecimaalTeken, 0 without one.
int16_t AantalDecimalen(const std::string& sTekst, const Separators& separators);

}  // namespace typrosync

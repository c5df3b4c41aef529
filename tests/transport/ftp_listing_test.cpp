#include "transport/ftp_listing.h"
#include "common/wildcard.h"

#include <gtest/gtest.h>

namespace typrosync {
namespace {

// Servers without MLSD answer the size search with Unix-style listings.
TEST(FtpListingTest, UnixListingKeepsSpacesInNames) {
  auto entries = ParseUnixListing(
      "total 8\r\n"
      "drwxr-xr-x   2 agro  agro      4096 Dec 05 20:00 .\r\n"
      "-rw-r--r--   1 agro  agro     12345 Dec 05 20:00 levering 12.xml\r\n"
      "-rw-r--r--   1 agro  agro  5000000000 Jan  1  2025 groot.bin\r\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "levering 12.xml");
  EXPECT_EQ(entries[0].size, 12345);
  EXPECT_EQ(entries[1].size, 5000000000);
}

TEST(FtpListingTest, MlsdListingLeavesOutTheFolderAndItsParent) {
  auto entries = ParseMlsdListing(
      "type=cdir;modify=20260101;perm=el; .\r\n"
      "type=pdir;modify=20260101;perm=el; ..\r\n"
      "Type=file;Size=300;modify=20260101; a b.xml\r\n");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "a b.xml");
  EXPECT_EQ(entries[0].size, 300);
}

TEST(FtpListingTest, PatternsMatchWholeNames) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"a?b.xml", "a b.xml", true},
      {"a?b.xml", "ab.xml", false},
      {"*.xml", "x.xml", true},
      {"*.xml", "x.xmlx", false},
      {"a*b*c", "aXbYc", true},
      {"abc", "ABC", false},
      {"", "", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
  }
}

}  // namespace
}  // namespace typrosync

#include "puzzle_engine/version_check.h"

#include <gtest/gtest.h>

namespace puzzle_engine {
namespace {

TEST(CompareVersions, ComparesNumberByNumberNotLetterByLetter) {
    EXPECT_EQ(CompareVersions("1.10.0", "1.9.0"), std::strong_ordering::greater);
    EXPECT_EQ(CompareVersions("1.9.0", "1.10.0"), std::strong_ordering::less);
    EXPECT_EQ(CompareVersions("2.0.0", "1.99.99"), std::strong_ordering::greater);
    EXPECT_EQ(CompareVersions("1.0.1", "1.0.0"), std::strong_ordering::greater);
    EXPECT_EQ(CompareVersions("1.0.0", "1.0.0"), std::strong_ordering::equal);
    // Missing numbers count as 0, leading zeros do not count, and no length is too long.
    EXPECT_EQ(CompareVersions("1.2", "1.2.0"), std::strong_ordering::equal);
    EXPECT_EQ(CompareVersions("1.2.0.1", "1.2"), std::strong_ordering::greater);
    EXPECT_EQ(CompareVersions("01.002", "1.2"), std::strong_ordering::equal);
    EXPECT_EQ(CompareVersions("1.99999999999999999999999", "1.99999999999999999999998"),
              std::strong_ordering::greater);
}

TEST(CompareVersions, ReadsNothingButDottedNumbers) {
    for (const char* garbage :
         {"", ".", "1.", ".1", "1..2", "v1.2", "1.2.0-beta", "1.2 ", "-1", "+1", "1,2", "one"}) {
        EXPECT_FALSE(CompareVersions(garbage, "1.0.0")) << '"' << garbage << '"';
        EXPECT_FALSE(CompareVersions("1.0.0", garbage)) << '"' << garbage << '"';
    }
}

TEST(IsWebAddress, TakesOnlyAbsoluteHttpAddressesWithAHost) {
    for (const char* address :
         {"http://example.org", "https://example.org/quillmark/1.2.tar.gz",
          "HTTPS://Example.org:8443/get?v=1.2#notes", "http://127.0.0.1:8642/"}) {
        EXPECT_TRUE(IsWebAddress(address)) << address;
    }
    for (const char* address :
         {"", "example.org", "//example.org", "ftp://example.org/q.tar.gz", "file:///etc/passwd",
          "javascript:alert(1)", "http://", "https:///path", "http:example.org",
          "http://exa mple.org", "http://example.org/\nx", " http://example.org",
          "http://example.org/\xc3\xa9", "http://example.org:port/"}) {
        EXPECT_FALSE(IsWebAddress(address)) << '"' << address << '"';
    }
}

TEST(UpdateAddress, GivesTheAddressOnlyForANewerVersionWithAWebAddress) {
    const char* download = "https://example.org/quillmark";
    EXPECT_EQ(UpdateAddress("1.10.0", download, "1.9.0"), download);
    EXPECT_EQ(UpdateAddress("1.9.0", download, "1.9.0"), "");
    EXPECT_EQ(UpdateAddress("1.8.3", download, "1.9.0"), "");
    EXPECT_EQ(UpdateAddress("", "", "1.0.0"), "");  // the operator has set nothing yet
    EXPECT_EQ(UpdateAddress("latest", download, "1.0.0"), "");
    EXPECT_EQ(UpdateAddress("2.0.0", "file:///tmp/setup.sh", "1.0.0"), "");
    EXPECT_EQ(UpdateAddress("2.0.0", "", "1.0.0"), "");
}

}  // namespace
}  // namespace puzzle_engine

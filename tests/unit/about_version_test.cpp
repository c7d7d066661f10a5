// Versions as the about window writes them, and which libraries blink.
#include <gtest/gtest.h>

#include "ui/about_version.h"

namespace {

TEST(AboutVersion, LibraryVersionsInHundredthsWithTheSubVersion) {
    EXPECT_EQ(quibex::LibraryVersionText(239, 125), L"Ver 2.39.1.25");
    EXPECT_EQ(quibex::LibraryVersionText(239), L"Ver 2.39");
    EXPECT_EQ(quibex::LibraryVersionText(5), L"Ver 0.05");
    EXPECT_EQ(quibex::LibraryVersionText(600, 0), L"Ver 6.00");
    // Whole hundreds, not rounded: 150 is 1 and 50; no leading zeros.
    EXPECT_EQ(quibex::LibraryVersionText(198, 150), L"Ver 1.98.1.50");
    EXPECT_EQ(quibex::LibraryVersionText(198, 203), L"Ver 1.98.2.3");
    EXPECT_EQ(quibex::LibraryVersionText(0), L"not installed");
    EXPECT_EQ(quibex::LibraryVersionText(0, 12), L"not installed");
}

TEST(AboutVersion, OutdatedLibrariesByTheirThresholds) {
    EXPECT_EQ(quibex::LhaCombinedVersion(198, 204), 198204);
    EXPECT_EQ(quibex::LhaCombinedVersion(98, 7), 98007);
    EXPECT_FALSE(quibex::LhaOutdated(198, 204));
    EXPECT_TRUE(quibex::LhaOutdated(198, 203));
    EXPECT_FALSE(quibex::LhaOutdated(199, 0));
    EXPECT_FALSE(quibex::LhaOutdated(0, 0)) << "a missing library is greyed, not blinking";
    EXPECT_FALSE(quibex::ZipOutdated(540));
    EXPECT_TRUE(quibex::ZipOutdated(539));
    EXPECT_TRUE(quibex::ZipOutdated(1));
    EXPECT_FALSE(quibex::ZipOutdated(0));
    EXPECT_FALSE(quibex::CabOutdated(98));
    EXPECT_TRUE(quibex::CabOutdated(97));
    EXPECT_FALSE(quibex::CabOutdated(0));
    EXPECT_FALSE(quibex::SevenZipOutdated(900));
    EXPECT_TRUE(quibex::SevenZipOutdated(899));
    EXPECT_FALSE(quibex::SevenZipOutdated(0));
    EXPECT_FALSE(quibex::RarOutdated(100));
    EXPECT_TRUE(quibex::RarOutdated(1));
    EXPECT_FALSE(quibex::RarOutdated(0));
}

TEST(AboutVersion, ProgramVersionHasTwoMinorDigitsAndARevisionOnlyAboveZero) {
    EXPECT_EQ(quibex::ProgramVersionText(1, 25, 0), L"1.25");
    EXPECT_EQ(quibex::ProgramVersionText(1, 0, 0), L"1.00");
    EXPECT_EQ(quibex::ProgramVersionText(2, 5, 3), L"2.05.3");
    EXPECT_EQ(quibex::ProgramVersionText(1, 125, 0), L"1.125");
}

}  // namespace

#include "version/VersionText.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(VersionText, NumbersAreUnsignedDecimalWithoutLeadingZeros)
{
    EXPECT_EQ(FormatVersion(1, 8, 0, 0), "1.8.0.0");
    EXPECT_EQ(FormatVersion(65535, 65535, 65535, 65535), "65535.65535.65535.65535");
    EXPECT_EQ(FormatVersion(0, 0, 0, 0), "0.0.0.0");
}

TEST(VersionText, StringTableKeyPutsLanguageBeforeCodePage)
{
    // The translation entry stores the language in its low word.
    EXPECT_EQ(StringTablePath(0x04E20405u), "\\StringFileInfo\\040504E2");
    EXPECT_EQ(StringTablePath(0x04B00409u), "\\StringFileInfo\\040904B0");
    EXPECT_EQ(StringTablePath(0xABCD00FFu), "\\StringFileInfo\\00FFABCD");
}

TEST(VersionText, QueryPathIsZeroFilledAndCutToItsBuffer)
{
    char buffer[101];
    std::memset(buffer, 'x', sizeof buffer);
    CopyQueryPath(buffer, "\\VarFileInfo\\Translation");
    EXPECT_STREQ(buffer, "\\VarFileInfo\\Translation");
    EXPECT_EQ(buffer[100], 0);

    CopyQueryPath(buffer, std::string(150, 'a'));
    EXPECT_EQ(std::strlen(buffer), 100u);
}

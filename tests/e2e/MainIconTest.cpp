// The shipped executable's application icon: the group "MAINICON" holds a
// single 32 x 32 image, and it is the file's first icon group, the one the
// shell shows for the file; the other groups are the notification area's.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/driver/Driver.h"

namespace {

// One entry of an icon group resource (GRPICONDIRENTRY), read byte by byte.
struct GroupEntry {
    int width, height, bitCount;
    unsigned id;
};

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names)
{
    reinterpret_cast<std::vector<std::string>*>(names)->push_back(IS_INTRESOURCE(name) ? "#" : name);
    return TRUE;
}

class MainIcon : public testing::Test {
protected:
    void SetUp() override
    {
        module = LoadLibraryExA(zvdrive::BuildFile("app/ZentVorlumo.exe").c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override
    {
        if (module)
            FreeLibrary(module);
    }

    const std::uint8_t* Resource(LPCSTR name, LPCSTR type, DWORD* size) const
    {
        HRSRC found = FindResourceA(module, name, type);
        if (!found)
            return nullptr;
        *size = SizeofResource(module, found);
        return static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
    }

    HMODULE module = nullptr;
};

unsigned Word(const std::uint8_t* p)
{
    return p[0] | p[1] << 8;
}

TEST_F(MainIcon, IsOneImageOfThirtyTwoByThirtyTwo)
{
    DWORD size = 0;
    const std::uint8_t* group = Resource("MAINICON", MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, &size);
    ASSERT_NE(group, nullptr) << "no icon group MAINICON";
    ASSERT_GE(size, 6u);
    EXPECT_EQ(Word(group + 2), 1u) << "resource type: icon";
    ASSERT_EQ(Word(group + 4), 1u) << "exactly one image";
    ASSERT_EQ(size, 6u + 14u);
    const std::uint8_t* e = group + 6;
    GroupEntry entry{e[0] ? e[0] : 256, e[1] ? e[1] : 256, static_cast<int>(Word(e + 6)), Word(e + 12)};
    EXPECT_EQ(entry.width, 32);
    EXPECT_EQ(entry.height, 32);

    // The image itself agrees: a bitmap header of 32 x (2 x 32), colour and mask.
    DWORD imageSize = 0;
    const std::uint8_t* image = Resource(MAKEINTRESOURCEA(entry.id), MAKEINTRESOURCEA(3) /* RT_ICON */, &imageSize);
    ASSERT_NE(image, nullptr);
    ASSERT_GE(imageSize, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, image, sizeof header);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);
    EXPECT_EQ(header.biBitCount, entry.bitCount);
}

TEST_F(MainIcon, IsTheFirstIconGroupAndTheOthersAreTheStateIcons)
{
    std::vector<std::string> groups;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(14), CollectName, reinterpret_cast<LONG_PTR>(&groups));
    EXPECT_EQ(groups, (std::vector<std::string>{"MAINICON", "STATE_DOWN", "STATE_IDLE", "STATE_SLOW", "STATE_UNSTABLE", "STATE_UP"}));
}

} // namespace

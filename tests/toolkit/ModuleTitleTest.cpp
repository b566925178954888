#include "toolkit/ModuleTitle.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct TitleCase {
    const char* path;
    const char* title;
};

TEST(TitleFromPath, KeepsTheFirstCharacterAndLowersTheRest)
{
    const TitleCase cases[] = {
        {"C:\\Program Files\\Zent\\ZentVorlumo.exe", "Zentvorlumo"},
        {"Z:\\build\\ZENTVORLUMO.EXE", "Zentvorlumo"},
        {"C:\\x\\zentVorlumo.exe", "zentvorlumo"},
        {"C:\\x\\pING-Watch.EXE", "ping-watch"},
        {"C:/mixed\\Sep/MyApp.exe", "Myapp"},
        {"C:\\dir.v2\\Prog", "Prog"},   // a dot in the folder is no extension
        {"C:\\x\\Monitor.V2.exe", "Monitor.v2"}, // only the last extension goes
        {"C:\\x\\Trailing.", "Trailing"},
        {"C:\\x\\Q.exe", "Q"},
        {"C:\\x\\.exe", ""},
        {"C:\\x\\", ""},
        {"NoFolder.exe", "Nofolder"},
        {"", ""},
    };
    for (const TitleCase& c : cases)
        EXPECT_EQ(tk::TitleFromModulePath(c.path), c.title) << c.path;
}

TEST(TitleFromPathLowering, OnlyTheCharactersAfterTheFirstGoThroughTheLowering)
{
    static std::string seen;
    seen.clear();
    auto record = [](char* text, std::size_t length) {
        seen.assign(text, length);
        std::memset(text, '_', length);
    };
    EXPECT_EQ(tk::TitleFromModulePath("C:\\A\\\xC9" "COLE.exe", record), "\xC9____");
    EXPECT_EQ(seen, "COLE");
}

} // namespace

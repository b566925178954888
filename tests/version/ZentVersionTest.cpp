// The version reader against the program itself and against small fixture
// executables that sit beside this test.
#include "version/ZentVersion.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

std::string BesideTest(const std::string& name)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1) + name;
}

std::string Fixture(const std::string& name)
{
    return BesideTest("fixture_" + name + ".exe");
}

struct Reader {
    TZentVersion version;
    int errors = 0;
    tk::Component* lastSender = nullptr;
    Reader()
    {
        version.SetOnError([this](tk::Component* sender) {
            ++errors;
            lastSender = sender;
        });
    }
};

} // namespace

TEST(ZentVersion, StartsEmptyAndReadsNothingUntilNamed)
{
    Reader r;
    EXPECT_EQ(r.version.FileName(), L"");
    EXPECT_EQ(r.version.VersionString(), "0.0.0.0");
    EXPECT_EQ(r.version.LastError(), 0u);
    EXPECT_EQ(r.errors, 0);
}

TEST(ZentVersion, ReadsTheProgramsOwnResource)
{
    Reader r;
    r.version.SetFileName(ZV_PROGRAM_EXE);
    EXPECT_EQ(r.version.VersionString(), "1.8.0.0");
    EXPECT_EQ(r.version.ProductVersion(), "1.0.0.0");
    EXPECT_EQ(r.version.ProductName(), "");
    EXPECT_EQ(r.version.CompanyName(), "");
    EXPECT_EQ(r.version.LastError(), 0u);
    EXPECT_EQ(r.errors, 0);
}

TEST(ZentVersion, FailedReadsGiveZerosSetLastErrorAndCallOnError)
{
    const struct {
        const char* what;
        std::string file;
    } cases[] = {
        {"no resource", Fixture("NoVersion")},
        {"missing file", BesideTest("no_such_file.exe")},
        {"empty name", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Reader r;
        r.version.SetFileName(c.file);
        EXPECT_EQ(r.version.VersionString(), "0.0.0.0");
        EXPECT_NE(r.version.LastError(), 0u);
        EXPECT_EQ(r.errors, 1);
        EXPECT_EQ(r.lastSender, &r.version);
    }
    Reader missing;
    missing.version.SetFileName(BesideTest("no_such_file.exe"));
    EXPECT_EQ(missing.version.LastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(ZentVersion, FailedReadWithoutHandlerIsQuiet)
{
    TZentVersion v;
    v.SetFileName(Fixture("NoVersion"));
    EXPECT_EQ(v.VersionString(), "0.0.0.0");
    EXPECT_NE(v.LastError(), 0u);
}

TEST(ZentVersion, OnlyTheFirstTranslationIsUsed)
{
    Reader r;
    r.version.SetFileName(Fixture("ForeignTranslation"));
    EXPECT_EQ(r.version.ProductVersion(), "3.2-beta");
    EXPECT_EQ(r.version.ProductName(), "Foreign Fixture");
    EXPECT_EQ(r.version.CompanyName(), "Example Fixtures");
}

TEST(ZentVersion, NumbersFollowTheFixedPartNotTheString)
{
    Reader r;
    r.version.SetFileName(Fixture("ForeignTranslation"));
    EXPECT_EQ(r.version.VersionString(), "65535.65535.65535.65535");
    EXPECT_EQ(r.version.Major(), 65535);
    EXPECT_EQ(r.version.Build(), 65535);
    EXPECT_EQ(r.version.ProductVersion(), "3.2-beta");

    r.version.SetFileName(Fixture("PartialStrings"));
    EXPECT_EQ(r.version.Major(), 2);
    EXPECT_EQ(r.version.Minor(), 3);
    EXPECT_EQ(r.version.Release(), 4);
    EXPECT_EQ(r.version.Build(), 5);
}

TEST(ZentVersion, MissingValuesKeepWhatAnEarlierReadFound)
{
    Reader r;
    r.version.SetFileName(Fixture("ForeignTranslation"));

    // No CompanyName here: it keeps the earlier one.
    r.version.SetFileName(Fixture("PartialStrings"));
    EXPECT_EQ(r.version.ProductVersion(), "2.3");
    EXPECT_EQ(r.version.ProductName(), "Partial");
    EXPECT_EQ(r.version.CompanyName(), "Example Fixtures");

    // No translation table: every string keeps its value, the numbers are read.
    r.version.SetFileName(Fixture("NoTranslation"));
    EXPECT_EQ(r.version.VersionString(), "4.0.0.7");
    EXPECT_EQ(r.version.ProductVersion(), "2.3");
    EXPECT_EQ(r.version.CompanyName(), "Example Fixtures");

    // A failed read clears only the numbers.
    r.version.SetFileName(Fixture("NoVersion"));
    EXPECT_EQ(r.version.VersionString(), "0.0.0.0");
    EXPECT_EQ(r.version.ProductVersion(), "2.3");
    EXPECT_EQ(r.version.ProductName(), "Partial");
    EXPECT_EQ(r.errors, 1);
}

TEST(ZentVersion, DataWithoutFixedPartStillGivesItsStrings)
{
    Reader r;
    r.version.SetFileName(Fixture("ForeignTranslation"));
    r.version.SetFileName(Fixture("NoFixedPart"));
    EXPECT_EQ(r.version.VersionString(), "0.0.0.0");
    EXPECT_EQ(r.version.ProductVersion(), "3.1");
    EXPECT_EQ(r.version.ProductName(), "Foreign Fixture");
    EXPECT_EQ(r.errors, 0);
}

TEST(ZentVersion, AssigningTheSameNameReadsTheFileAgain)
{
    const std::string copy = BesideTest("version_reread.exe");
    ASSERT_TRUE(CopyFileA(Fixture("PartialStrings").c_str(), copy.c_str(), FALSE));
    Reader r;
    r.version.SetFileName(copy);
    EXPECT_EQ(r.version.VersionString(), "2.3.4.5");

    ASSERT_TRUE(CopyFileA(Fixture("NoTranslation").c_str(), copy.c_str(), FALSE));
    r.version.SetFileName(copy);
    EXPECT_EQ(r.version.VersionString(), "4.0.0.7");

    DeleteFileA(copy.c_str());
    r.version.SetFileName(copy);
    r.version.SetFileName(copy);
    EXPECT_EQ(r.errors, 2);
    DeleteFileA(copy.c_str());
}

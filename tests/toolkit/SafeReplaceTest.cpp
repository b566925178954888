// The safe-replace rule over a scripted file system: whatever step fails, the
// old file stays as it was and no temporary file is left; on success the new
// file is whole.
#include "toolkit/SafeReplace.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Step = tk::SafeReplaceError::Step;

// Files as strings; `failAt` makes one step fail, a write after `writeRoom`
// bytes (a disk that runs out half way).
class ScriptedFileSystem : public tk::FileSystem {
public:
    std::map<tk::FilePath, std::string> files;
    Step failAt = Step::Edit; // Edit: no step of the file system fails
    std::size_t writeRoom = 3;

    class ScriptedFile : public File {
    public:
        ScriptedFile(ScriptedFileSystem& fs, tk::FilePath path) : fs_(fs), path_(std::move(path)) {}
        tk::FileError Write(std::string_view bytes) override
        {
            if (fs_.failAt == Step::Write) {
                fs_.files[path_] += bytes.substr(0, fs_.writeRoom);
                return 112;
            }
            fs_.files[path_] += bytes;
            return 0;
        }
        tk::FileError Flush() override { return fs_.failAt == Step::Flush ? 5 : 0; }

    private:
        ScriptedFileSystem& fs_;
        tk::FilePath path_;
    };

    tk::FileError CreateTemp(const tk::FilePath& target, tk::FilePath& temp, std::unique_ptr<File>& file) override
    {
        if (failAt == Step::Create)
            return 5;
        temp = target + L".1.tmp";
        files[temp];
        file = std::make_unique<ScriptedFile>(*this, temp);
        return 0;
    }
    tk::FileError Open(const tk::FilePath& path, std::unique_ptr<File>& file) override
    {
        file = std::make_unique<ScriptedFile>(*this, path);
        return files.count(path) ? 0 : 2;
    }
    tk::FileError Replace(const tk::FilePath& from, const tk::FilePath& to) override
    {
        if (failAt == Step::Replace)
            return 32;
        files[to] = files[from];
        files.erase(from);
        return 0;
    }
    void Remove(const tk::FilePath& path) override { files.erase(path); }
    std::string Reason(tk::FileError code) override { return "reason " + std::to_string(code); }
};

const tk::FilePath Target = L"C:\\Mapa \u0159 \u5730\u56f3\\host.txt";

TEST(SafeReplace, AFailedStepKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    struct Case {
        Step failAt;
        bool edit;
        tk::FileError code;
    } cases[] = {{Step::Create, false, 5}, {Step::Write, false, 112}, {Step::Flush, false, 5},
                 {Step::Replace, false, 32}, {Step::Flush, true, 5}, {Step::Edit, true, 0}};
    for (const Case& c : cases) {
        ScriptedFileSystem fs;
        fs.files[Target] = "old\r\n";
        fs.failAt = c.failAt;
        auto edit = [&](const tk::FilePath&) {
            if (c.failAt == Step::Edit)
                throw std::runtime_error("not written");
        };
        try {
            tk::SafeReplace(fs, Target, "new line one\r\nnew line two\r\n",
                            c.edit ? std::function<void(const tk::FilePath&)>(edit) : nullptr);
            ADD_FAILURE() << int(c.failAt) << " did not fail";
        } catch (const tk::SafeReplaceError& e) {
            EXPECT_EQ(e.FailedStep(), c.failAt);
            EXPECT_EQ(e.Code(), c.code);
            EXPECT_EQ(e.Target(), Target);
            EXPECT_EQ(e.Reason(), c.code ? "reason " + std::to_string(c.code) : "not written");
        }
        EXPECT_EQ(fs.files.size(), 1u) << int(c.failAt);
        EXPECT_EQ(fs.files[Target], "old\r\n") << int(c.failAt);
    }
}

TEST(SafeReplace, SuccessPutsTheWholeNewFileInPlace)
{
    for (bool existed : {false, true}) {
        ScriptedFileSystem fs;
        if (existed)
            fs.files[Target] = "old\r\n";
        tk::FilePath edited;
        tk::SafeReplace(fs, Target, "a\r\nb\r\n", [&](const tk::FilePath& temp) {
            edited = temp;
            fs.files[temp] += "c\r\n";
        });
        EXPECT_NE(edited, Target);
        EXPECT_EQ(fs.files.size(), 1u);
        EXPECT_EQ(fs.files[Target], "a\r\nb\r\nc\r\n");
    }
}

// A file written while it is made: the pieces arrive whole and in order, and
// a failing write or a maker that gives up stops the save with the old file kept.
TEST(SafeReplace, AFileMadeWhileWrittenIsPlacedOnlyWhenWhole)
{
    for (Step failAt : {Step::Edit, Step::Write}) {
        for (bool makerGivesUp : {false, true}) {
            ScriptedFileSystem fs;
            fs.files[Target] = "old\r\n";
            fs.failAt = failAt;
            int piecesMade = 0;
            auto produce = [&](const tk::ByteSink& sink) {
                for (const char* piece : {"a\r\n", "b\r\n", "c\r\n"}) {
                    if (makerGivesUp && piecesMade == 2)
                        throw std::runtime_error("given up");
                    sink(piece);
                    ++piecesMade;
                }
            };
            const bool fails = failAt == Step::Write || makerGivesUp;
            try {
                tk::SafeReplace(fs, Target, produce);
                EXPECT_FALSE(fails);
            } catch (const tk::SafeReplaceError& e) {
                EXPECT_EQ(e.FailedStep(), Step::Write);
                EXPECT_EQ(piecesMade, 0) << "a failed write stops the maker";
            } catch (const std::runtime_error& e) {
                EXPECT_TRUE(makerGivesUp) << e.what();
            }
            EXPECT_EQ(fs.files.size(), 1u);
            EXPECT_EQ(fs.files[Target], fails ? "old\r\n" : "a\r\nb\r\nc\r\n");
        }
    }
}

} // namespace

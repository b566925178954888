#include "toolkit/SafeReplace.h"

namespace tk {

SafeReplaceError::SafeReplaceError(Step step, FilePath target, FileError code, const std::string& reason)
    : std::runtime_error(reason), step_(step), target_(std::move(target)), code_(code), reason_(reason)
{
}

namespace {

using Step = SafeReplaceError::Step;

// Removes the temporary file unless it was put in place.
class TempFile {
public:
    TempFile(FileSystem& fs, const FilePath& target) : fs_(fs), target_(target) {}
    ~TempFile()
    {
        file.reset();
        if (!path.empty() && !placed_)
            fs_.Remove(path);
    }
    void Check(Step step, FileError code)
    {
        if (code != 0)
            throw SafeReplaceError(step, target_, code, fs_.Reason(code));
    }
    void Place()
    {
        Check(Step::Replace, fs_.Replace(path, target_));
        placed_ = true;
    }

    FilePath path;
    std::unique_ptr<FileSystem::File> file;

private:
    FileSystem& fs_;
    const FilePath& target_;
    bool placed_ = false;
};

void Replace(FileSystem& fs, const FilePath& target, const std::function<void(const ByteSink& sink)>& produce,
             const std::function<void(const FilePath& temp)>& edit)
{
    TempFile temp(fs, target);
    temp.Check(Step::Create, fs.CreateTemp(target, temp.path, temp.file));
    produce([&](std::string_view bytes) { temp.Check(Step::Write, temp.file->Write(bytes)); });
    if (edit) {
        temp.file.reset();
        try {
            edit(temp.path);
        } catch (const std::exception& e) {
            throw SafeReplaceError(Step::Edit, target, 0, e.what());
        }
        temp.Check(Step::Flush, fs.Open(temp.path, temp.file));
    }
    temp.Check(Step::Flush, temp.file->Flush());
    temp.file.reset();
    temp.Place();
}

} // namespace

void SafeReplace(FileSystem& fs, const FilePath& target, std::string_view bytes,
                 const std::function<void(const FilePath& temp)>& edit)
{
    Replace(fs, target, [bytes](const ByteSink& sink) { sink(bytes); }, edit);
}

void SafeReplace(FileSystem& fs, const FilePath& target, const std::function<void(const ByteSink& sink)>& produce)
{
    Replace(fs, target, produce, nullptr);
}

} // namespace tk

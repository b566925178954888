// Saving a file so that the old one is replaced only by a whole new one.
// Portable: the file system comes in through FileSystem (tk::WinFileSystem
// on Windows, a scripted one in tests).
//
// SafeReplace writes the new bytes into a file of its own beside the target
// (a unique name, so two copies of the program never share one), flushes it
// and only then puts it in the target's place in one step. On any failure it
// deletes that file, leaves the target exactly as it was and throws
// SafeReplaceError, which names the step, the target and the system's reason.
//
//     tk::WinFileSystem fs;
//     tk::SafeReplace(fs, L"C:\\x\\out.csv", text);   // throws SafeReplaceError
//
// A long file can also be written while it is made: `produce` hands its
// bytes to the sink piece by piece, so it is never held whole in memory.
//
// `edit`, when given, runs on the written temporary file (by its path, the
// file closed) before it is flushed and put in place: for writers that can
// only change a file through calls of their own. It aborts by throwing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tk {

using FilePath = std::wstring;

// The system's error code of a failed call; 0 is success.
using FileError = std::uint32_t;

class FileSystem {
public:
    // An open file; closed when destroyed.
    class File {
    public:
        virtual ~File() = default;
        virtual FileError Write(std::string_view bytes) = 0;
        virtual FileError Flush() = 0;
    };

    virtual ~FileSystem() = default;
    // A new empty file beside `target` under a name no other writer uses,
    // opened for writing; its path goes to `temp`.
    virtual FileError CreateTemp(const FilePath& target, FilePath& temp, std::unique_ptr<File>& file) = 0;
    // An existing file, opened for writing without changing it.
    virtual FileError Open(const FilePath& path, std::unique_ptr<File>& file) = 0;
    // Puts `from` in the place of `to` in one step, replacing it if present.
    virtual FileError Replace(const FilePath& from, const FilePath& to) = 0;
    virtual void Remove(const FilePath& path) = 0;
    // The system's wording for a code, without a trailing full stop.
    virtual std::string Reason(FileError code) = 0;
};

class SafeReplaceError : public std::runtime_error {
public:
    enum class Step { Create, Write, Flush, Replace, Edit };

    SafeReplaceError(Step step, FilePath target, FileError code, const std::string& reason);
    Step FailedStep() const { return step_; }
    const FilePath& Target() const { return target_; }
    FileError Code() const { return code_; }
    // The system's wording, or the edit's own message.
    const std::string& Reason() const { return reason_; }

private:
    Step step_;
    FilePath target_;
    FileError code_;
    std::string reason_;
};

void SafeReplace(FileSystem& fs, const FilePath& target, std::string_view bytes,
                 const std::function<void(const FilePath& temp)>& edit = nullptr);

// Writes each piece on to the temporary file; throws SafeReplaceError when
// that fails. Anything `produce` throws also leaves the target as it was.
using ByteSink = std::function<void(std::string_view bytes)>;
void SafeReplace(FileSystem& fs, const FilePath& target, const std::function<void(const ByteSink& sink)>& produce);

} // namespace tk

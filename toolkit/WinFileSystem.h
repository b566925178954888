// WinFileSystem: tk::FileSystem over the wide Win32 file calls, so any folder
// name works. Stateless; any thread. Also the conversions between the
// program's 8-bit texts and the system's wide paths.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "toolkit/SafeReplace.h"

namespace tk {

class WinFileSystem : public FileSystem {
public:
    FileError CreateTemp(const FilePath& target, FilePath& temp, std::unique_ptr<File>& file) override;
    FileError Open(const FilePath& path, std::unique_ptr<File>& file) override;
    FileError Replace(const FilePath& from, const FilePath& to) override;
    void Remove(const FilePath& path) override;
    std::string Reason(FileError code) override;
};

// The text in the ANSI code page; characters it lacks become its default one.
std::string AnsiText(const std::wstring& text);
std::wstring WideText(const std::string& ansi);
// ANSI code page text as UTF-8, for files and tips that must read the same anywhere.
std::string Utf8Text(std::string_view ansi);
// UTF-8 as the system's wide text, and back.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// The full path of the running executable.
FilePath ModuleFilePath();
// Its folder, ending in a separator.
FilePath ModuleFolder();

} // namespace tk

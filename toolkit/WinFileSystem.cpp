#include "toolkit/WinFileSystem.h"

#include <atomic>

#include "toolkit/Handles.h"
#include "toolkit/Win32Error.h"

namespace tk {

namespace {

class WinFile : public FileSystem::File {
public:
    explicit WinFile(HANDLE handle) : handle_(handle) {}
    FileError Write(std::string_view bytes) override
    {
        while (!bytes.empty()) {
            DWORD written = 0;
            if (!WriteFile(handle_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
                return GetLastError();
            // A write that makes no headway without an error: treat as a full disk.
            if (written == 0)
                return ERROR_DISK_FULL;
            bytes.remove_prefix(written);
        }
        return 0;
    }
    FileError Flush() override { return FlushFileBuffers(handle_.Get()) ? 0 : GetLastError(); }

private:
    KernelHandle handle_;
};

FileError OpenFile(const FilePath& path, DWORD disposition, std::unique_ptr<FileSystem::File>& file)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError();
    file = std::make_unique<WinFile>(h);
    return 0;
}

} // namespace

FileError WinFileSystem::CreateTemp(const FilePath& target, FilePath& temp, std::unique_ptr<File>& file)
{
    // Process id and a counter make the name unique among writers; CREATE_NEW
    // refuses a name left behind by a writer that was killed.
    static std::atomic<unsigned> counter{0};
    FileError error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t suffix[40];
        wsprintfW(suffix, L".%lx-%x.tmp", GetCurrentProcessId(), counter++);
        temp = target + suffix;
        error = OpenFile(temp, CREATE_NEW, file);
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    if (error != 0)
        temp.clear();
    return error;
}

FileError WinFileSystem::Open(const FilePath& path, std::unique_ptr<File>& file)
{
    return OpenFile(path, OPEN_EXISTING, file);
}

FileError WinFileSystem::Replace(const FilePath& from, const FilePath& to)
{
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0
                                                                                                     : GetLastError();
}

void WinFileSystem::Remove(const FilePath& path)
{
    DeleteFileW(path.c_str());
}

std::string WinFileSystem::Reason(FileError code)
{
    return SystemErrorText(code);
}

std::string AnsiText(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring WideText(const std::string& ansi)
{
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), out.data(), n);
    return out;
}

std::string Utf8Text(std::string_view ansi)
{
    return Utf8FromWide(WideText(std::string(ansi)));
}

std::string Utf8FromWide(std::wstring_view wide)
{
    const int size = static_cast<int>(wide.size());
    std::string out(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

std::wstring WideFromUtf8(std::string_view utf8)
{
    std::wstring out(utf8.size(), L'\0');
    out.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                            out.data(), static_cast<int>(out.size()))));
    return out;
}

FilePath ModuleFilePath()
{
    FilePath path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

FilePath ModuleFolder()
{
    FilePath path = ModuleFilePath();
    return path.substr(0, path.find_last_of(L"\\/:") + 1);
}

} // namespace tk

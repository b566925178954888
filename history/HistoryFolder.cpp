#include "history/HistoryFolder.h"

#include <algorithm>

#include "history/HistoryCalendar.h"
#include "history/HistoryFile.h"
#include "history/HistoryRetention.h"
#include "toolkit/Handles.h"
#include "toolkit/WinFileSystem.h"

namespace {

std::vector<std::wstring> FileNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"zentvorlumo-*.csv").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

} // namespace

std::wstring HistoryFolderPath()
{
    return tk::ModuleFolder() + tk::WideText(kHistoryFolder) + L"\\";
}

std::vector<THistoryDayFile> HistoryDayFiles(const std::wstring& folder)
{
    std::vector<THistoryDayFile> files;
    for (std::wstring& name : FileNames(folder))
        if (const auto day = HistoryFileDate(name))
            files.push_back({*day, std::move(name)});
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return DaysSince1970(a.Day) > DaysSince1970(b.Day); });
    return files;
}

bool ReadHistoryBytes(const std::wstring& path, std::string& bytes)
{
    bytes.clear();
    // Shared for writing: the program itself may be appending to today's.
    tk::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        read = 0;
    bytes.resize(read);
    return true;
}

int DeleteExpiredHistory(const std::wstring& folder, const TCivilTime& today, int keepDays)
{
    int deleted = 0;
    for (const std::wstring& name : ExpiredHistoryFiles(FileNames(folder), today, keepDays))
        deleted += DeleteFileW((folder + name).c_str()) ? 1 : 0;
    return deleted;
}

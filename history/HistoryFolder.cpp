#include "history/HistoryFolder.h"

#include <algorithm>
#include <cstring>

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

bool ReadHistoryPieces(const std::wstring& path, const std::function<void(std::string_view lines)>& take)
{
    constexpr std::size_t kPiece = 8 << 20;
    // Shared for writing: the program itself may be appending to today's.
    tk::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        return false;
    }
    std::string buffer(kPiece, '\0');
    std::size_t held = 0; // the start of a line the last read cut
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer.data() + held, static_cast<DWORD>(kPiece - held), &read, nullptr) && read > 0) {
        const std::string_view bytes(buffer.data(), held + read);
        const std::size_t end = bytes.rfind('\n');
        const std::size_t whole = end == std::string_view::npos ? bytes.size() : end + 1;
        take(bytes.substr(0, whole));
        held = bytes.size() - whole;
        std::memmove(buffer.data(), buffer.data() + whole, held);
    }
    if (held > 0)
        take(std::string_view(buffer.data(), held));
    return true;
}

int DeleteExpiredHistory(const std::wstring& folder, const TCivilTime& today, int keepDays)
{
    int deleted = 0;
    for (const std::wstring& name : ExpiredHistoryFiles(FileNames(folder), today, keepDays))
        deleted += DeleteFileW((folder + name).c_str()) ? 1 : 0;
    return deleted;
}

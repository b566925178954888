#include "history/HistoryFileWriter.h"

#include "history/HistoryFile.h"
#include "toolkit/WinFileSystem.h"

namespace {

constexpr unsigned kFlushMs = 60000;

bool SameDay(const TCivilTime& a, const TCivilTime& b)
{
    return a.Year == b.Year && a.Month == b.Month && a.Day == b.Day;
}

} // namespace

THistoryFileWriter::THistoryFileWriter(std::wstring folder, TReport report)
    : folder_(std::move(folder)), report_(std::move(report))
{
    flushTimer_.SetInterval(kFlushMs);
    flushTimer_.SetOnTimer([this](tk::Component*) { Flush(); });
}

THistoryFileWriter::~THistoryFileWriter()
{
    Flush();
}

void THistoryFileWriter::Append(const TCivilTime& day, std::string_view rows)
{
    if (failed_ || rows.empty())
        return;
    if ((!file_ || !SameDay(day, day_)) && !Open(day))
        return;
    // The first rows go out together with the file's start: one write.
    pending_.append(rows);
    DWORD written = 0;
    if (!WriteFile(file_.Get(), pending_.data(), static_cast<DWORD>(pending_.size()), &written, nullptr) ||
        written != pending_.size())
        return Fail(GetLastError());
    pending_.clear();
    dirty_ = true;
}

void THistoryFileWriter::Flush()
{
    if (file_ && dirty_ && !FlushFileBuffers(file_.Get()))
        return Fail(GetLastError());
    dirty_ = false;
}

bool THistoryFileWriter::Open(const TCivilTime& day)
{
    Flush();
    file_.Reset();
    if (!CreateDirectoryW(folder_.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        Fail(GetLastError());
        return false;
    }
    const std::wstring path = folder_ + tk::WideText(HistoryFileName(day));
    pending_ = HistoryAppendPrefix(Tail(path));
    // Appending only: every write lands at the end, whoever else appends.
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Fail(GetLastError());
        return false;
    }
    file_.Reset(file);
    day_ = day;
    return true;
}

std::string THistoryFileWriter::Tail(const std::wstring& path) const
{
    tk::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        return {};
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart == 0)
        return {};
    LARGE_INTEGER at{};
    at.QuadPart = size.QuadPart > 2 ? size.QuadPart - 2 : 0;
    char tail[2];
    DWORD read = 0;
    if (!SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) || !ReadFile(file.Get(), tail, sizeof tail, &read, nullptr))
        return "?"; // unreadable: start a line of our own rather than join a row
    return std::string(tail, read);
}

void THistoryFileWriter::Fail(DWORD error)
{
    failed_ = true;
    file_.Reset();
    pending_.clear();
    flushTimer_.SetEnabled(false);
    if (report_)
        report_(folder_, error);
}

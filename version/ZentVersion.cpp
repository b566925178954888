#include "version/ZentVersion.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "toolkit/WinFileSystem.h"
#include "version/VersionText.h"

namespace {

// Query paths live in fixed 101-byte buffers; the longest built here has 39 characters.
using QueryPath = char[101];

// Looks a value up in the version data. `room` is what is left of the data
// buffer from the value on, so a string without its terminating zero cannot
// lead a reader past the end; `length` is the value's own length.
bool Query(std::vector<char>& data, const std::string& path, const char*& value, UINT& room,
           UINT& length)
{
    QueryPath buffer;
    CopyQueryPath(buffer, path);
    void* p = nullptr;
    UINT len = 0;
    if (!VerQueryValueA(data.data(), buffer, &p, &len) || p == nullptr)
        return false;
    const char* begin = data.data();
    const char* end = begin + data.size();
    value = static_cast<const char*>(p);
    if (value < begin || value >= end)
        return false;
    room = static_cast<UINT>(end - value);
    length = len;
    return true;
}

bool QueryString(std::vector<char>& data, const std::string& path, std::string& out)
{
    const char* value = nullptr;
    UINT room = 0, length = 0;
    if (!Query(data, path, value, room, length))
        return false;
    out.assign(value, strnlen(value, room));
    return true;
}

} // namespace

void TZentVersion::SetFileName(const std::wstring& value)
{
    FFileName = value;
    ReadVersionInfo();
}

void TZentVersion::SetFileName(const std::string& value)
{
    SetFileName(tk::WideText(value));
}

std::string TZentVersion::VersionString() const
{
    return FormatVersion(FMajor, FMinor, FRelease, FBuild);
}

void TZentVersion::ReadVersionInfo()
{
    FMajor = FMinor = FRelease = FBuild = 0;

    std::vector<wchar_t> name(FFileName.size() + 5, 0);
    std::copy(FFileName.begin(), FFileName.end(), name.begin());

    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(name.data(), &handle);
    if (size == 0) {
        FLastError = GetLastError();
        if (FOnError)
            FOnError(this);
        return;
    }

    // Zero-filled, so a failed fill reads as data without any entries.
    std::vector<char> data(size + 5, 0);
    GetFileVersionInfoW(name.data(), 0, size, data.data());

    // A fixed part or translation shorter than its structure counts as absent:
    // reading it anyway would take the bytes of whatever follows. Its reported
    // length alone is not enough: it must also fit in what is left of the data.
    const char* value = nullptr;
    UINT room = 0, length = 0;
    if (Query(data, "\\", value, room, length) && length >= sizeof(VS_FIXEDFILEINFO) &&
        room >= sizeof(VS_FIXEDFILEINFO)) {
        VS_FIXEDFILEINFO fixed;
        std::memcpy(&fixed, value, sizeof fixed);
        FMajor = HIWORD(fixed.dwFileVersionMS);
        FMinor = LOWORD(fixed.dwFileVersionMS);
        FRelease = HIWORD(fixed.dwFileVersionLS);
        FBuild = LOWORD(fixed.dwFileVersionLS);
    }

    if (Query(data, "\\VarFileInfo\\Translation", value, room, length) && length >= sizeof(DWORD) &&
        room >= sizeof(DWORD)) {
        DWORD translation;
        std::memcpy(&translation, value, sizeof translation);
        const std::string base = StringTablePath(translation);
        QueryString(data, base + "\\ProductVersion", FProductVersion);
        QueryString(data, base + "\\ProductName", FProductName);
        QueryString(data, base + "\\CompanyName", FCompanyName);
    }
}

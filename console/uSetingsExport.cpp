// The console's lists as text that leaves the program: Ctrl+C and "Copy" put
// the selected rows (or all) on the clipboard, tab-separated with the
// captions first; "Save as CSV…" writes every row to a file the user picks,
// with the moment each row was made in a last column "Time". The cells are
// the texts the lists show. Members of TFormSetings; GUI thread only.
#include "console/uSetings.h"

#include <stdexcept>

#include "toolkit/Win32Error.h"
#include "toolkit/AnsiText.h"
#include "toolkit/Clipboard.h"
#include "toolkit/SaveDialog.h"

namespace {

TLocalTime Today()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::wstring ProgramFolder()
{
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return tk::FolderOf(path);
}

[[noreturn]] void SaveFailed(const std::wstring& path, DWORD code)
{
    throw std::runtime_error("Cannot save " + tk::AnsiFromWide(path) + ": " + tk::SysErrorMessage(code));
}

} // namespace

// The bytes go to a new file beside the target, which replaces the target
// only once it is whole on the disk; on any failure the new file goes again.
void TFormSetings::WriteExportFile(const std::wstring& path, const std::string& bytes)
{
    wchar_t temp[MAX_PATH + 16] = L"";
    if (!GetTempFileNameW(tk::FolderOf(path).c_str(), L"zv", 0, temp))
        SaveFailed(path, GetLastError());
    HANDLE file = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool whole = file != INVALID_HANDLE_VALUE &&
                 WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                 written == bytes.size() && FlushFileBuffers(file);
    DWORD code = GetLastError();
    if (file != INVALID_HANDLE_VALUE && !CloseHandle(file) && whole) {
        whole = false;
        code = GetLastError();
    }
    if (whole && !MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        whole = false;
        code = GetLastError();
    }
    if (!whole) {
        DeleteFileW(temp);
        SaveFailed(path, code);
    }
}

void TFormSetings::CreateListCommands()
{
    for (tk::ListView* list : {ListView1, ListViewError}) {
        const char* what = list == ListView1 ? "replies" : "errors";
        list->EnableRowCommands({{L"Copy", [this, list] { CopyRows(*list); }},
                                 {L"Select all", [list] { list->SelectAll(); }},
                                 {L"Save as CSV\u2026", [this, list, what] { SaveRowsAsCsv(*list, what); }}},
                                [this, list] { CopyRows(*list); });
    }
}

TExportTable TFormSetings::ListTable(tk::ListView& list, bool selectedOnly, bool withTime) const
{
    TExportTable table{list.Captions(), {}};
    if (withTime)
        table.Captions.emplace_back("Time");
    std::vector<int> rows = selectedOnly ? list.SelectedRows() : std::vector<int>();
    if (rows.empty()) {
        rows.resize(static_cast<std::size_t>(list.RowCount()));
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = static_cast<int>(i);
    }
    table.Rows.reserve(rows.size());
    for (int row : rows) {
        std::vector<std::string>& cells = table.Rows.emplace_back();
        cells.reserve(table.Captions.size());
        for (int column = 0; column < list.ColumnCount(); ++column)
            cells.push_back(list.ShownCell(row, column));
        if (withTime)
            cells.push_back(IsoMoment(&list == ListView1 ? run_.EchoMoment(row) : run_.Error(row).Made));
    }
    return table;
}

void TFormSetings::CopyRows(tk::ListView& list)
{
    tk::SetClipboardText(Handle(), tk::WideFromAnsi(TabText(ListTable(list, true, false))));
}

std::string TFormSetings::ListCsv(tk::ListView& list) const
{
    return CsvText(ListTable(list, false, true), tk::Utf8FromAnsi);
}

void TFormSetings::SaveRowsAsCsv(tk::ListView& list, const char* what)
{
    SaveCsvAs(what, [&] { return ListCsv(list); });
}

void TFormSetings::SaveCsvAs(const char* what, const std::function<std::string()>& text)
{
    tk::SaveDialogOptions options;
    options.FileName = tk::WideFromAnsi(ExportFileName(what, Today()));
    options.Folder = exportFolder_.empty() ? ProgramFolder() : exportFolder_;
    options.FilterName = L"CSV files (*.csv)";
    options.Pattern = L"*.csv";
    options.DefaultExtension = L"csv";
    const std::optional<std::wstring> path = tk::AskSaveFileName(Handle(), options);
    if (!path)
        return;
    exportFolder_ = tk::FolderOf(*path);
    // The rows as they are now: pinging went on while the dialog was open.
    WriteExportFile(*path, text());
}

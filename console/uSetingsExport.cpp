// The console's lists as text that leaves the program: Ctrl+C and "Copy" put
// the selected rows (or all) on the clipboard, tab-separated with the
// captions first; "Save as CSV…" writes every row to a file the user picks,
// with the moment each row was made in a last column "Time". The cells are
// the texts the lists show. Members of TFormSetings; GUI thread only.
#include "console/uSetings.h"

#include <stdexcept>

#include "console/OutageReport.h"
#include "toolkit/Clipboard.h"
#include "toolkit/SaveDialog.h"
#include "toolkit/WinFileSystem.h"

namespace {

TLocalTime Today()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

} // namespace

// Written beside the target and put in its place only once whole.
void TFormSetings::WriteExportFile(const std::wstring& path, const TFileMaker& produce)
{
    tk::WinFileSystem fs;
    try {
        tk::SafeReplace(fs, path, produce);
    } catch (const tk::SafeReplaceError& e) {
        throw std::runtime_error("Cannot save " + tk::AnsiText(path) + ": " + e.Reason());
    }
}

void TFormSetings::CreateListCommands()
{
    for (tk::ListView* list : {ListView1, ListViewError}) {
        const char* what = list == ListView1 ? "replies" : "errors";
        std::vector<tk::ListView::MenuItem> menu{
            {L"Copy", [this, list] { CopyRows(*list); }},
            {L"Select all", [list] { list->SelectAll(); }},
            {L"Save as CSV\u2026", [this, list, what] { SaveRowsAsCsv(*list, what); }}};
        if (list == ListViewError) {
            menu.push_back({L"Copy outage report", [this] { CopyOutageReport(); }});
            menu.push_back({L"Save outages as CSV\u2026", [this] { SaveOutagesAsCsv(); }});
        }
        list->EnableRowCommands(std::move(menu), [this, list] { CopyRows(*list); });
    }
}

TExportTable TFormSetings::ListTable(tk::ListView& list, bool selectedOnly) const
{
    TExportTable table{list.Captions(), {}};
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
    }
    return table;
}

void TFormSetings::CopyRows(tk::ListView& list)
{
    tk::SetClipboardText(Handle(), tk::WideText(TabText(ListTable(list, true))));
}

void TFormSetings::ListCsv(tk::ListView& list, const TByteSink& sink) const
{
    csv_.Write(&list == ListView1 ? TRunLog::Echoes : TRunLog::Errors, list.Captions(), sink);
}

void TFormSetings::SaveRowsAsCsv(tk::ListView& list, const char* what)
{
    SaveCsvAs(what, [&](const TByteSink& sink) { ListCsv(list, sink); });
}

// The outages of the run so far, with the clock's offset now.
void TFormSetings::CopyOutageReport()
{
    const TLocalMs now = figures_->Now();
    tk::SetClipboardText(Handle(), tk::WideText(OutageReportText(figures_->Figures(), now, LocalNow().OffsetMinutes)));
}

void TFormSetings::SaveOutagesAsCsv()
{
    SaveCsvAs("outages", [this](const TByteSink& sink) {
        sink(CsvText(OutageTable(figures_->Figures(), figures_->Now(), LocalNow().OffsetMinutes), tk::Utf8Text));
    });
}

void TFormSetings::SaveCsvAs(const char* what, const TFileMaker& produce)
{
    tk::SaveDialogOptions options;
    options.FileName = tk::WideText(ExportFileName(what, Today()));
    options.Folder = exportFolder_.empty() ? tk::ModuleFolder() : exportFolder_;
    options.FilterName = L"CSV files (*.csv)";
    options.Pattern = L"*.csv";
    options.DefaultExtension = L"csv";
    const std::optional<std::wstring> path = tk::AskSaveFileName(Handle(), options);
    if (!path)
        return;
    exportFolder_ = tk::FolderOf(*path);
    // The rows as they are now: pinging went on while the dialog was open.
    WriteExportFile(*path, produce);
}

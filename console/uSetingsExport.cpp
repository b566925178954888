// The console's lists as text that leaves the program: Ctrl+C and "Copy" put
// the selected rows (or all) on the clipboard, tab-separated with the
// captions first; "Save as CSV…" writes every row to a file the user picks;
// the error log adds the outage report. Every text is made from the run's
// records when asked. Members of TFormSetings; GUI thread only.
#include "console/uSetings.h"

#include "monitor/OutageReport.h"
#include "monitor/RunExport.h"
#include "toolkit/Clipboard.h"
#include "toolkit/LocaleText.h"
#include "toolkit/SaveCsv.h"
#include "toolkit/WinFileSystem.h"

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

TRunLog TFormSetings::LogOf(const tk::ListView& list) const
{
    return &list == ListView1 ? TRunLog::Echoes : TRunLog::Errors;
}

// The selected rows, or every row when none is selected; the list's rows
// are the run's, in the same order.
void TFormSetings::CopyRows(tk::ListView& list)
{
    std::vector<int> rows = list.SelectedRows();
    if (rows.empty()) {
        rows.resize(static_cast<std::size_t>(list.RowCount()));
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = static_cast<int>(i);
    }
    const TExportTable table = RunRowsTable(run_, LogOf(list), rows, tk::ReadLocaleTimeSeparator());
    tk::SetClipboardText(Handle(), tk::WideText(TabText(table)));
}

void TFormSetings::SaveRowsAsCsv(tk::ListView& list, const char* what)
{
    const TRunLog log = LogOf(list);
    SaveCsvAs(what, [this, log](const TByteSink& sink) {
        WriteRunCsv(run_, log, tk::ReadLocaleTimeSeparator(), tk::Utf8Text, sink);
    });
}

// The outages of the run so far, each time with its own offset.
void TFormSetings::CopyOutageReport()
{
    const TInstant now = figures_->Now().Mono;
    tk::SetClipboardText(Handle(), tk::WideText(OutageReportText(figures_->Figures(), figures_->Link(), now)));
}

void TFormSetings::SaveOutagesAsCsv()
{
    SaveCsvAs("outages", [this](const TByteSink& sink) {
        sink(CsvText(OutageTable(figures_->Link(), figures_->Now().Mono), tk::Utf8Text));
    });
}

void TFormSetings::SaveCsvAs(const char* what, const tk::FileMaker& produce)
{
    // The rows as they are once the dialog closes: pinging goes on while it is open.
    tk::SaveCsvAs(Handle(), tk::WideText(ExportFileName(what, run_.Now().Wall.Local())), exportFolder_, produce);
}

// THistoryFileWriter: the Win32 side of "Keep history": appends the rows a
// THistoryFeed hands on to the day's file in the history folder, one
// WriteFile per hand-over on a handle opened for appending only, so that a
// second copy of the program or a kill leaves whole rows. It makes the
// folder and a day's file when their first row comes, flushes at least
// every 60 s and when destroyed. A folder it cannot write turns it off and
// is reported once (the folder and the Windows error). GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "history/HistoryFeed.h"
#include "toolkit/Handles.h"
#include "toolkit/Timer.h"

class THistoryFileWriter {
public:
    using TReport = std::function<void(const std::wstring& folder, DWORD error)>;

    // `folder` ends in a separator; nothing is made there before the first row.
    THistoryFileWriter(std::wstring folder, TReport report);
    ~THistoryFileWriter();
    THistoryFileWriter(const THistoryFileWriter&) = delete;
    THistoryFileWriter& operator=(const THistoryFileWriter&) = delete;

    // Rows of `day`'s file, whole lines, as THistoryFeed hands them on.
    void Append(const TCivilTime& day, std::string_view rows);
    void Flush();
    // Off after a failure: rows are dropped from then on.
    bool Failed() const { return failed_; }
    // The feed's row sink that appends here.
    THistoryFeed::TRowSink Sink()
    {
        return [this](const TCivilTime& day, std::string_view rows) { Append(day, rows); };
    }

private:
    bool Open(const TCivilTime& day);
    // What the file ends with, for HistoryAppendPrefix: up to its last two bytes.
    std::string Tail(const std::wstring& path) const;
    void Fail(DWORD error);

    std::wstring folder_;
    TReport report_;
    tk::KernelHandle file_;
    TCivilTime day_{};
    std::string pending_; // the prefix of a file just opened, and its first rows
    bool failed_ = false;
    bool dirty_ = false;
    tk::Timer flushTimer_{nullptr};
};

// THistoryKeeper: "Keep history" for a run, the one object the program's
// start-up makes and its menu and settings drive: while on, the feed's rows
// go to the day's file (THistoryFileWriter) and files of ours past "Keep
// history for" are deleted at once and after each local midnight; a
// folder that cannot be written turns it off and is reported once. While
// off it makes no file or folder. GUI thread only.
#pragma once

#include <memory>

#include "history/FormHistory.h"
#include "history/HistoryFileWriter.h"
#include "history/HistorySettings.h"

class THistoryKeeper {
public:
    // `report` hears of the folder and the Windows error, once, as history goes off.
    THistoryKeeper(THistoryFeed& feed, TRunClock clock, std::wstring folder, THistoryFileWriter::TReport report);
    ~THistoryKeeper();
    THistoryKeeper(const THistoryKeeper&) = delete;
    THistoryKeeper& operator=(const THistoryKeeper&) = delete;

    // The options as loaded or as the menu changed them.
    void Apply(const THistoryOptions& options);
    bool Keeping() const { return writer_ && !writer_->Failed(); }
    // What the History window reads: the files only while they are kept.
    THistorySource WindowSource() const;

private:
    void DeleteExpired();
    void CheckDay();
    void Failed(const std::wstring& folder, DWORD error);

    THistoryFeed& feed_;
    TRunClock clock_;
    std::wstring folder_;
    THistoryFileWriter::TReport report_;
    THistoryOptions options_;
    std::unique_ptr<THistoryFileWriter> writer_;
    TCivilTime day_{};
    tk::Timer dayTimer_{nullptr};
};

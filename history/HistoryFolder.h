// The history folder on disk: where it is (beside the program), which of
// its files are ours, newest first, a file read whole, and the deletion of
// ours that have outlived "Keep history for". Win32; any thread.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/RunClock.h"

// `history\` beside the executable, ending in a separator.
std::wstring HistoryFolderPath();

struct THistoryDayFile {
    TCivilTime Day;
    std::wstring Name;
};
// The files of ours in `folder`, newest day first; none if it is missing.
std::vector<THistoryDayFile> HistoryDayFiles(const std::wstring& folder);

// The file's bytes handed on in pieces of whole lines (a line longer than
// a piece is cut), so a file of any size costs a few megabytes; false when
// it cannot be opened.
bool ReadHistoryPieces(const std::wstring& path, const std::function<void(std::string_view lines)>& take);

// Deletes the files of ours older than `keepDays` before `today`; the
// number deleted. Nothing else of the folder is touched.
int DeleteExpiredHistory(const std::wstring& folder, const TCivilTime& today, int keepDays);

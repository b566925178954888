// TFormHistory: the History window. It shows the run's minute bins (and,
// read once when first shown, the history files' earlier days) over a
// range chosen by buttons, a calendar or keys: the chart, the range's
// figures and outages, and "Save as CSV…" of the range. It reads the bins
// only (the feed fills them) and follows them live while open. Made on
// first use by ShowHistoryWindow; closing it hides it. GUI thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "history/HistoryBackfill.h"
#include "history/HistoryChart.h"
#include "history/HistoryControls.h"
#include "history/HistoryFolder.h"
#include "history/HistoryOutages.h"
#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Form.h"
#include "toolkit/Timer.h"
#include "toolkit/ToolTip.h"

// What the window shows, and where from.
struct THistorySource {
    THistoryBins* Bins = nullptr; // THistoryFeed's: shown, and filled from the files once
    TRunClock Now;                // the run's clock
    TClockReading RunStart;       // THistoryFeed::Started(): the files' rows end there
    std::wstring Folder;          // the history folder, with its separator; empty: none read (yet)
    THistoryOutageSource Outages; // the link model's outages; empty: from the bins
    THistoryVisitor* Replay = nullptr; // the link model's replay of the files (THistoryBackfill::SetReplay)
};

class TFormHistory : public tk::Form {
public:
    TFormHistory(tk::Component* owner, THistorySource source);

    // Shows it, reading the files of `folder` (empty: none, as while
    // history is not kept) the first time it is shown with one.
    void Open(const std::wstring& folder);
    // Still reading the files, a day a message.
    bool Reading() const { return backfill_ != nullptr; }

protected:
    bool ShortcutKey(unsigned vk) override;
    void OnSize(int cx, int cy) override;
    void OnMouseMove(tk::Point p, unsigned keys) override;
    void OnDpiChanged() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateRangeBar();
    void SetRange(const THistoryRange& range, bool following);
    void ShowLast(TDuration width) { SetRange(THistoryRange::Last(width, source_.Now().Mono), true); }
    void ShowDay(const SYSTEMTIME& day);
    void UpdateView();
    void UpdateOutages();
    void Tick();
    void CentreOnOutage(int row);
    void SaveRangeAsCsv();
    void Realign(int width, int height);
    void StartReading();
    void ReadNextFile();
    std::string TipText() const;

    THistorySource source_;
    THistoryRange range_;
    bool following_ = true;
    std::vector<THistoryOutage> outages_;
    std::vector<std::vector<std::string>> outageCells_;

    tk::Button* btnHour = nullptr;
    tk::Button* btn6Hours = nullptr;
    tk::Button* btn24Hours = nullptr;
    tk::Button* btn7Days = nullptr;
    tk::Button* btn30Days = nullptr;
    THistoryDatePicker* dtpDay = nullptr;
    tk::CheckBox* cbLogarithmic = nullptr;
    tk::Button* btnSaveCsv = nullptr;
    THistoryChart* chHistory = nullptr;
    THistoryText* lbFigures = nullptr;
    THistoryOutageList* lvOutages = nullptr;
    THistoryProgress* pbReading = nullptr;
    THistoryText* lbStatus = nullptr;
    tk::ToolTip* tipChart = nullptr;
    tk::Timer* tmLive = nullptr;

    // Reading the files, a day a message, newest first; once a run.
    bool read_ = false;
    std::vector<THistoryDayFile> files_;
    std::size_t nextFile_ = 0;
    std::unique_ptr<THistoryBackfill> backfill_;
    std::vector<std::string> skipped_;
    tk::Point mouse_{-1, -1};
    const THistoryColumn* tipColumn_ = nullptr;
    std::wstring exportFolder_;
};

extern TFormHistory* FormHistory;

// Makes the window on first use and shows it in front.
void ShowHistoryWindow(const THistorySource& source);

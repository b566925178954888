// THistoryChart: the History window's chart, a windowless control drawn on
// the form's back buffer (the one painting function serves every DC): a
// pixel column for each span of the range (THistoryBins::Columns), the
// band from least to greatest trip time, the average as a line, loss and
// down periods in the failure colour, sleep and no-data gaps hatched; the
// Y axis linear or logarithmic, its top the range's 99th percentile.
// GUI thread only.
#pragma once

#include <vector>

#include "history/HistoryOutages.h"
#include "history/HistoryRange.h"
#include "toolkit/GraphicControl.h"

class THistoryChart : public tk::GraphicControl {
public:
    THistoryChart(tk::Component* owner, tk::CustomControl* parent, tk::Rect bounds, const THistoryBins& bins);

    // Takes the range and makes its columns again; `logBottomUs` is where
    // the logarithmic axis starts. The outages' columns are marked too.
    void Show(const THistoryRange& range, std::uint32_t axisTopUs, std::uint32_t logBottomUs,
              const std::vector<THistoryOutage>& outages);
    void SetLogarithmic(bool logarithmic);
    bool Logarithmic() const { return logarithmic_; }
    // Borrowed: the form keeps it.
    void SetFont(HFONT font) { font_ = font; }
    // The column under a point of the parent's client area, if any.
    const THistoryColumn* ColumnAt(tk::Point p) const;

    std::string Caption() const override;
    void Paint(HDC dc) override;

private:
    tk::Rect Plot() const;
    int YOf(double us, const tk::Rect& plot) const;
    void PaintAxis(HDC dc, const tk::Rect& plot, COLORREF text, COLORREF grid);
    void PaintColumns(HDC dc, const tk::Rect& plot);
    void PaintTimes(HDC dc, const tk::Rect& plot, COLORREF text);

    const THistoryBins& bins_;
    THistoryRange range_;
    std::uint32_t topUs_ = 1000, logBottomUs_ = 100;
    bool logarithmic_ = false;
    std::vector<THistoryColumn> columns_;
    std::vector<bool> down_; // a column an outage overlaps
    HFONT font_ = nullptr;
};

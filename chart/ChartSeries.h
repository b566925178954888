// TChartSeries: the points of one series (X and Y value lists, a colour and a
// label per point), its colour, and its links: the series it is computed
// from (DataSource), the series computed from it (dependents) and the
// function that computes it. Owned by its chart; GUI thread only.
// Every change only asks the chart for a repaint; nothing is drawn here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <deque>
#include <string>
#include <vector>

#include "chart/ChartValueList.h"
#include "chart/TeeFunction.h"

class TChart;

// A point colour that means "use the series colour".
constexpr std::uint32_t UseSeriesColor = 0x20000000;

// How a dependent series follows changes of its source; all on by default.
struct TRecalcOptions {
    bool OnDelete = true;
    bool OnModify = true;
    bool OnInsert = true;
    bool OnClear = true;
};

class TChartSeries {
public:
    TChartSeries();
    TChartSeries(const TChartSeries&) = delete;
    TChartSeries& operator=(const TChartSeries&) = delete;
    virtual ~TChartSeries();

    TChart* ParentChart() const { return chart_; }

    TChartValueList& XValues() { return x_; }
    TChartValueList& YValues() { return y_; }
    const TChartValueList& XValues() const { return x_; }
    const TChartValueList& YValues() const { return y_; }
    const std::deque<std::uint32_t>& Colors() const { return colors_; }
    const std::deque<std::string>& Labels() const { return labels_; }
    int Count() const { return x_.Count(); }

    // 0x00BBGGRR. Setting the colour it already has asks for no repaint.
    std::uint32_t SeriesColor() const { return color_; }
    void SetSeriesColor(std::uint32_t color);
    // The colour a point is drawn in: its own, or the series colour.
    std::uint32_t PointColor(int index) const;

    bool Active() const { return active_; }
    void SetActive(bool active);

    // Recorded as the window's stored design gives them; nothing draws them
    // (users find a series by its index, and no point marks are drawn).
    std::string Name;
    struct {
        bool Visible = false;
    } Marks;

    TChartSeries* DataSource() const { return source_; }
    // Links this series to a source (nullptr unlinks) and rebuilds it from there.
    void SetDataSource(TChartSeries* source);
    const std::vector<TChartSeries*>& Dependents() const { return dependents_; }

    TTeeFunction* FunctionType() const { return function_.get(); }
    void SetFunction(std::unique_ptr<TTeeFunction> function);

    TRecalcOptions RecalcOptions;

    // Ordered insert: X by the X list's Order, the rest at the same index.
    // Returns the new point's index.
    int InsertPoint(double x, double y);
    int InsertPoint(double x, double y, const std::string& label, std::uint32_t color);
    // Removes the point at index (0 = smallest X); std::out_of_range if there is none.
    void RemovePoint(int index);
    void ClearPoints();
    void SetYValue(int index, double y);

    // Rebuilds every dependent from this series.
    void RefreshDependents();
    // Rebuilds this series from its source: through its function, or as a copy.
    void CheckDataSource();

    // Fired by ClearPoints.
    std::function<void(TChartSeries&)> OnClearValues;

    // New after every change of the points or the look, and never shared
    // with another series: a painter keeps what it worked out until it moves.
    std::uint64_t ChangeStamp() const { return stamp_; }

protected:
    void Changed();

private:
    friend class TChart;
    enum class Change { Clear, Insert, Delete, Modify, Refresh };
    void Notify(Change change, int index);
    void OnSourceChanged(TChartSeries& source, Change change, int index);
    void Detach();

    TChart* chart_ = nullptr;
    TChartValueList x_, y_;
    std::deque<std::uint32_t> colors_;
    std::deque<std::string> labels_;
    std::uint32_t color_ = 0;
    bool active_ = true;
    TChartSeries* source_ = nullptr;
    std::vector<TChartSeries*> dependents_;
    std::unique_ptr<TTeeFunction> function_;
    std::uint64_t stamp_;
};

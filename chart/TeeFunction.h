// TTeeFunction: a calculation that fills its parent series from the parent's
// data source. Owned by its parent series; GUI thread only.
#pragma once

class TChartSeries;

enum TFunctionPeriodStyle { psNumPoints, psRange };
enum TFunctionPeriodAlign { paFirst, paCenter, paLast };

class TTeeFunction {
public:
    TTeeFunction() = default;
    TTeeFunction(const TTeeFunction&) = delete;
    TTeeFunction& operator=(const TTeeFunction&) = delete;
    virtual ~TTeeFunction() = default;

    // 0 means one result over all source points; negative values are refused.
    double Period() const { return period_; }
    void SetPeriod(double value);
    TFunctionPeriodStyle PeriodStyle = psNumPoints;
    TFunctionPeriodAlign PeriodAlign = paCenter;

    // Rebuilds the parent series from its source. Does nothing while the
    // parent is unattached, its chart is loading or it has no other series as source.
    void Recompute();

protected:
    // Adds the computed points to the (already cleared) parent series.
    virtual void AddPoints(TChartSeries& source, TChartSeries& target) = 0;

private:
    friend class TChartSeries;
    TChartSeries* parent_ = nullptr;
    double period_ = 0;
};

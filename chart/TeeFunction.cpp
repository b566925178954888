#include "chart/TeeFunction.h"

#include "chart/Chart.h"
#include "chart/ChartError.h"
#include "chart/ChartSeries.h"

void TTeeFunction::SetPeriod(double value)
{
    // Written so that NaN is refused as well.
    if (!(value >= 0))
        throw EChartError("Function Period should be >= 0");
    period_ = value;
}

void TTeeFunction::Recompute()
{
    TChartSeries* target = parent_;
    if (!target || !target->ParentChart() || target->ParentChart()->Loading())
        return;
    TChartSeries* source = target->DataSource();
    if (!source || source == target)
        return;
    target->ClearPoints();
    if (source->Count() > 0)
        AddPoints(*source, *target);
    target->RefreshDependents();
}

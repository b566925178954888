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
    // An empty source ends the rebuild: the clear has already told the
    // target's dependents, and there is nothing to refresh them from.
    if (source->Count() == 0)
        return;
    AddPoints(*source, *target);
    target->RefreshDependents();
}

#include "chart/ChartLayout.h"

#include <algorithm>

TChartLayout ComputeChartLayout(const TChart& chart, int width, int height, int textHeight,
                                const TLabelExtent& labelWidth, const txt::NumberSeparators& separators,
                                const tk::Scale& scale)
{
    using M = TChartMetrics;
    const int outer = scale(M::Outer);
    TChartLayout l;
    l.TickLength = scale(M::TickLength);
    l.LabelGap = scale(M::LabelGap);
    l.LineWidth = scale.Line(1);
    l.XRange = chart.Zoomed() ? chart.ViewX() : DisplayRange(chart.XRange());
    l.YRange = chart.Zoomed() ? chart.ViewY() : DisplayRange(chart.YRange());
    l.Depth = chart.View3D() ? std::min(scale(M::Depth3D), std::max(0, std::min(width, height) / 8)) : 0;

    // Vertical first: the left labels' width depends on the Y ticks only.
    l.Plot.Top = outer + textHeight / 2 + l.Depth;
    l.Plot.Bottom = std::max(l.Plot.Top + 1, height - (outer + textHeight + l.LabelGap + l.TickLength));
    const bool showLeft = chart.LeftAxis.Visible;
    if (showLeft)
        l.YTicks = ChooseTicks(l.YRange, l.Plot.Height(), scale(M::LabelSpacingY),
                               [&](const std::string&) { return textHeight; }, separators);
    int leftLabels = 0;
    for (const std::string& s : l.YTicks.Labels)
        leftLabels = std::max(leftLabels, labelWidth(s));
    l.Plot.Left = outer + (showLeft ? leftLabels + l.LabelGap + l.TickLength : 0);

    // The last bottom label is centred on the right edge: leave half of it.
    const int halfLast = labelWidth(FormatAxisValue(l.XRange.Max, separators)) / 2;
    l.Plot.Right = std::max(l.Plot.Left + 1, width - outer - l.Depth - std::max(scale(2), halfLast - l.Depth));
    if (chart.BottomAxis.Visible)
        l.XTicks = ChooseTicks(l.XRange, l.Plot.Width(), scale(M::LabelSpacingX), labelWidth, separators);

    l.XMap = {l.XRange.Min, l.XRange.Max, l.Plot.Left, l.Plot.Right - 1};
    l.YMap = {l.YRange.Min, l.YRange.Max, l.Plot.Bottom - 1, l.Plot.Top};
    return l;
}

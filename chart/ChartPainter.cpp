#include "chart/ChartPainter.h"

#include <algorithm>
#include <utility>

#include "toolkit/ColorBox.h"
#include "toolkit/Image.h"
#include "toolkit/PictureScale.h"

namespace {

constexpr COLORREF GridColor = RGB(58, 72, 92);
constexpr COLORREF AxisColor = RGB(150, 162, 178);

// A GDI object made for one drawing step, selected for its length.
template <class Handle>
class Selected {
public:
    Selected(HDC dc, typename Handle::Type object) : object_(object), select_(dc, object) {}

private:
    Handle object_;
    tk::SelectScope select_; // put back before the object goes
};

void Line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

COLORREF Darker(COLORREF c)
{
    return RGB(GetRValue(c) * 11 / 20, GetGValue(c) * 11 / 20, GetBValue(c) * 11 / 20);
}

} // namespace

bool TChartPainter::EnsureDC()
{
    if (!dc_)
        dc_.Reset(CreateCompatibleDC(nullptr));
    return static_cast<bool>(dc_);
}

bool TChartPainter::EnsureBuffer(int width, int height)
{
    if (!EnsureDC())
        return false;
    if (bitmap_ && canvas_.Width == width && canvas_.Height == height)
        return true;
    canvas_ = {};
    drawn_ = false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height; // top row first, as TPixelCanvas has it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    tk::Bitmap bitmap(CreateDIBSection(dc_.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) {
        bitmap_.Reset(); // the DC keeps no stale picture
        return false;
    }
    SelectObject(dc_.Get(), bitmap.Get()); // the old bitmap leaves the DC before it goes
    bitmap_ = std::move(bitmap);
    canvas_ = {static_cast<std::uint32_t*>(bits), width, height, width};
    return true;
}

HFONT TChartPainter::FontFor(const TChartFont& font, CachedFont& cache)
{
    const int ppi = Scale.Dpi();
    if (cache.handle && cache.name == font.Name && cache.size == font.Size && cache.pixelsPerInch == ppi &&
        cache.style == font.Style)
        return cache.handle.Get();
    const unsigned s = font.Style;
    // A new font may come back under an old one's handle.
    widths_.clear();
    cache = {font.Name, font.Size, ppi, s,
             tk::Font(CreateFontA(-MulDiv(font.Size, ppi, 72), 0, 0, 0, s & fsBold ? FW_BOLD : FW_NORMAL,
                                  (s & fsItalic) != 0, (s & fsUnderline) != 0, (s & fsStrikeOut) != 0, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                  font.Name.c_str()))};
    return cache.handle.Get();
}

TChartLayout TChartPainter::Layout(const TChart& chart, int width, int height)
{
    if (!EnsureDC())
        return ComputeChartLayout(chart, width, height, 13, [](const std::string& s) { return 6 * int(s.size()); },
                                  Separators, Scale);
    const HDC dc = dc_.Get();
    const HFONT labels = FontFor(chart.LeftAxis.LabelsFont, leftFont_);
    tk::SelectScope font(dc, labels);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    auto measure = [this, labels](const std::string& s) { return TextWidth(labels, s); };
    return ComputeChartLayout(chart, width, height, tm.tmHeight, measure, Separators, Scale);
}

int TChartPainter::TextWidth(HFONT font, const std::string& text)
{
    auto key = std::make_pair(font, text);
    if (auto found = widths_.find(key); found != widths_.end())
        return found->second;
    // Bounded: labels that keep changing must not grow it for ever.
    if (widths_.size() >= 512)
        widths_.clear();
    SIZE size{};
    GetTextExtentPoint32A(dc_.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return widths_[std::move(key)] = static_cast<int>(size.cx);
}

void TChartPainter::Paint(HDC dc, const TChart& chart, int width, int height,
                          const std::optional<TPixelRect>& rubberBand)
{
    Draw(chart, width, height, rubberBand);
    if (HasPicture(width, height))
        CopyTo(dc, {0, 0, width, height});
}

void TChartPainter::Draw(const TChart& chart, int width, int height, const std::optional<TPixelRect>& rubberBand)
{
    drawn_ = false;
    if (width <= 0 || height <= 0 || !EnsureBuffer(width, height))
        return;
    const HDC dc = dc_.Get();
    tk::SavedDC saved(dc);
    PaintBackground(chart);
    const TChartLayout l = Layout(chart, width, height);
    PaintWalls(l);
    GdiFlush(); // GDI's drawing must be in the bits before the lines go in
    PaintFailureMarks(chart, l);
    PaintSeries(chart, l);
    PaintLabels(chart, l);
    if (rubberBand) {
        Selected<tk::Pen> pen(dc, CreatePen(PS_DOT, 1, RGB(255, 255, 255)));
        SetBkMode(dc, TRANSPARENT);
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, rubberBand->Left, rubberBand->Top, rubberBand->Right, rubberBand->Bottom);
    }
    drawn_ = true;
}

void TChartPainter::CopyTo(HDC dc, const RECT& area) const
{
    if (drawn_)
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.Get(), area.left,
               area.top, SRCCOPY);
}

void TChartPainter::PaintBackground(const TChart& chart)
{
    const HDC dc = dc_.Get();
    const int width = canvas_.Width, height = canvas_.Height;
    {
        Selected<tk::Brush> brush(dc, CreateSolidBrush(tk::ColorToRGB(chart.Color)));
        PatBlt(dc, 0, 0, width, height, PATCOPY);
    }
    if (chart.BackImage.Empty())
        return;
    const tk::Picture& image = TileAtScale(chart.BackImage);
    const tk::Dib dib = tk::DibOf(image);
    auto put = [&](int x, int y, int w, int h) {
        StretchDIBits(dc, x, y, w, h, 0, 0, image.Width, image.Height, dib.Bits.data(), &dib.Info, DIB_RGB_COLORS,
                      SRCCOPY);
    };
    switch (chart.BackImageMode) {
    case pbmStretch:
        put(0, 0, width, height);
        break;
    case pbmCenter:
        put((width - image.Width) / 2, (height - image.Height) / 2, image.Width, image.Height);
        break;
    case pbmTile:
        for (int y = 0; y < height; y += image.Height)
            for (int x = 0; x < width; x += image.Width)
                put(x, y, image.Width, image.Height);
        break;
    }
}

const tk::Picture& TChartPainter::TileAtScale(const tk::Picture& image)
{
    if (Scale.IsIdentity())
        return image;
    if (tile_.source != &image || tile_.dpi != Scale.Dpi())
        tile_ = {&image, Scale.Dpi(), tk::ScalePicture(image, Scale)};
    return tile_.picture;
}

void TChartPainter::PaintWalls(const TChartLayout& l)
{
    const HDC dc = dc_.Get();
    const TPixelRect& p = l.Plot;
    const int d = l.Depth;
    const int axisX = p.Left - 1, axisY = p.Bottom; // the axes lie just outside the plot
    {
        // Grid lines on the back wall (the plot itself in the flat view), and
        // in 3D across the left wall and the floor.
        Selected<tk::Pen> pen(dc, CreatePen(PS_SOLID, l.LineWidth, GridColor));
        for (double v : l.YTicks.Values) {
            const int y = l.YMap.ToPixel(v);
            Line(dc, p.Left + d, y - d, p.Right + d, y - d);
            if (d)
                Line(dc, axisX, y, axisX + d, y - d);
        }
        for (double v : l.XTicks.Values) {
            const int x = l.XMap.ToPixel(v);
            Line(dc, x + d, p.Top - d, x + d, p.Bottom - d);
            if (d)
                Line(dc, x, axisY, x + d, axisY - d);
        }
    }
    Selected<tk::Pen> pen(dc, CreatePen(PS_SOLID, l.LineWidth, AxisColor));
    if (d) {
        // The box: the back wall's left and bottom edges, the walls' outer edges.
        Line(dc, axisX + d, p.Top - d, axisX + d, axisY - d);
        Line(dc, axisX + d, axisY - d, p.Right + d, axisY - d);
        Line(dc, axisX, p.Top, axisX + d, p.Top - d);
        Line(dc, axisX, axisY, axisX + d, axisY - d);
        Line(dc, p.Right, axisY, p.Right + d, axisY - d);
    }
    Line(dc, axisX, p.Top, axisX, axisY + 1);
    Line(dc, axisX, axisY, p.Right + 1, axisY);
    for (double v : l.YTicks.Values) {
        const int y = l.YMap.ToPixel(v);
        Line(dc, axisX - l.TickLength, y, axisX, y);
    }
    for (double v : l.XTicks.Values) {
        const int x = l.XMap.ToPixel(v);
        Line(dc, x, axisY + 1, x, axisY + 1 + l.TickLength);
    }
}

void TChartPainter::PaintSeries(const TChart& chart, const TChartLayout& l)
{
    // In 3D each series gets an equal slice of the depth, the first at the
    // back, so later series (the average) lie in front of earlier ones.
    std::vector<const TChartSeries*> shown;
    for (int i = 0; i < chart.SeriesCount(); ++i)
        if (chart.Series(i)->Active())
            shown.push_back(chart.Series(i));
    const int n = static_cast<int>(shown.size());
    for (int i = 0; i < n; ++i) {
        const TChartSeries& s = *shown[static_cast<std::size_t>(i)];
        if (s.Count() < 2)
            continue;
        const std::vector<TPixelPoint>& path = PathOf(s, static_cast<std::size_t>(i), l);
        const COLORREF color = tk::ColorToRGB(s.SeriesColor());
        const int zBack = l.Depth * (n - i) / n, zFront = l.Depth * (n - 1 - i) / n;
        const std::uint32_t body = CanvasColor(Darker(color));
        auto at = [&](int dx, int dy, std::uint32_t c) {
            const TPixelRect clip{l.Plot.Left + dx, l.Plot.Top + dy, l.Plot.Right + dx, l.Plot.Bottom + dy};
            DrawPath(canvas_, path, c, clip, dx, dy);
        };
        // The ribbon's body in a darker shade, its front edge in the series
        // colour. Copies one diagonal step apart would leave every other
        // pixel open along a falling line; a step across and then one up
        // between them closes the gaps.
        DrawRibbon(canvas_, path, body, l.Plot, zBack, zFront);
        // A line wider than a pixel at higher DPIs: the path again, shifted.
        for (int dy = 0; dy < l.LineWidth; ++dy)
            for (int dx = 0; dx < l.LineWidth; ++dx)
                at(zFront + dx, dy - zFront, CanvasColor(color));
    }
}

void TChartPainter::PaintFailureMarks(const TChart& chart, const TChartLayout& l)
{
    if (chart.FailureMarks().Empty() || chart.SeriesCount() == 0)
        return;
    const std::uint32_t other = chart.SeriesCount() > 1 ? chart.Series(1)->SeriesColor() : chart.Series(0)->SeriesColor();
    const std::uint32_t color = FailureMarkColor(tk::ColorToRGB(chart.Series(0)->SeriesColor()), tk::ColorToRGB(other));
    const TFailureMarks& marks = chart.FailureMarks();
    const TChartSeries& data = *chart.Series(0);
    CachedBands& c = bands_;
    if (c.marks != marks.ChangeStamp() || c.data != data.ChangeStamp() || !(c.x == l.XMap) || !(c.plot == l.Plot))
        c = {marks.ChangeStamp(), data.ChangeStamp(), l.XMap, l.Plot, FailureBands(marks, data, l)};
    DrawFailureBands(canvas_, c.bands, l, color);
}

const std::vector<TPixelPoint>& TChartPainter::PathOf(const TChartSeries& series, std::size_t slot,
                                                      const TChartLayout& l)
{
    if (paths_.size() <= slot)
        paths_.resize(slot + 1);
    CachedPath& c = paths_[slot];
    if (c.series != &series || c.stamp != series.ChangeStamp() || !(c.x == l.XMap) || !(c.y == l.YMap))
        c = {&series, series.ChangeStamp(), l.XMap, l.YMap, SeriesPixelPath(series, l.XMap, l.YMap)};
    return c.path;
}

void TChartPainter::PaintLabels(const TChart& chart, const TChartLayout& l)
{
    const HDC dc = dc_.Get();
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICA tm{};
    if (chart.LeftAxis.Visible) {
        SelectObject(dc, FontFor(chart.LeftAxis.LabelsFont, leftFont_));
        GetTextMetricsA(dc, &tm);
        SetTextColor(dc, tk::ColorToRGB(chart.LeftAxis.LabelsFont.Color));
        SetTextAlign(dc, TA_RIGHT | TA_TOP);
        const int right = l.Plot.Left - 1 - l.TickLength - l.LabelGap;
        for (std::size_t i = 0; i < l.YTicks.Values.size(); ++i) {
            const std::string& s = l.YTicks.Labels[i];
            TextOutA(dc, right, l.YMap.ToPixel(l.YTicks.Values[i]) - tm.tmHeight / 2, s.c_str(),
                     static_cast<int>(s.size()));
        }
    }
    if (chart.BottomAxis.Visible) {
        SelectObject(dc, FontFor(chart.BottomAxis.LabelsFont, bottomFont_));
        SetTextColor(dc, tk::ColorToRGB(chart.BottomAxis.LabelsFont.Color));
        SetTextAlign(dc, TA_CENTER | TA_TOP);
        const int top = l.Plot.Bottom + 1 + l.TickLength;
        // Labels that would run into the left labels or off the right edge are left out.
        const int leftmost = l.Plot.Left - 1 - l.TickLength;
        for (std::size_t i = 0; i < l.XTicks.Values.size(); ++i) {
            const std::string& s = l.XTicks.Labels[i];
            SIZE size{};
            GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
            const int x = l.XMap.ToPixel(l.XTicks.Values[i]);
            if (x - size.cx / 2 < leftmost || x + (size.cx + 1) / 2 > canvas_.Width)
                continue;
            TextOutA(dc, x, top, s.c_str(), static_cast<int>(s.size()));
        }
    }
}

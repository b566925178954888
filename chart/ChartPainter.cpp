#include "chart/ChartPainter.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr COLORREF GridColor = RGB(58, 72, 92);
constexpr COLORREF AxisColor = RGB(150, 162, 178);

// Owns one GDI object for the length of a drawing step and keeps it selected.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
    ~Selected()
    {
        SelectObject(dc_, old_);
        DeleteObject(object_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_, old_;
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

TChartPainter::TChartPainter() = default;

TChartPainter::~TChartPainter()
{
    if (dc_) {
        SelectObject(dc_, oldBitmap_);
        DeleteDC(dc_);
    }
    if (bitmap_)
        DeleteObject(bitmap_);
    for (CachedFont* f : {&leftFont_, &bottomFont_})
        if (f->handle)
            DeleteObject(f->handle);
}

bool TChartPainter::EnsureBuffer(int width, int height)
{
    if (!dc_) {
        dc_ = CreateCompatibleDC(nullptr);
        if (!dc_)
            return false;
    }
    if (bitmap_ && canvas_.Width == width && canvas_.Height == height)
        return true;
    if (bitmap_) {
        SelectObject(dc_, oldBitmap_);
        DeleteObject(bitmap_);
        bitmap_ = nullptr;
        canvas_ = {};
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height; // top row first, as TPixelCanvas has it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_)
        return false;
    oldBitmap_ = SelectObject(dc_, bitmap_);
    canvas_ = {static_cast<std::uint32_t*>(bits), width, height, width};
    return true;
}

HFONT TChartPainter::FontFor(const TChartFont& font, CachedFont& cache)
{
    const int ppi = GetDeviceCaps(dc_, LOGPIXELSY);
    if (cache.handle && cache.name == font.Name && cache.size == font.Size && cache.pixelsPerInch == ppi &&
        cache.style == font.Style)
        return cache.handle;
    if (cache.handle)
        DeleteObject(cache.handle);
    const unsigned s = font.Style;
    cache = {font.Name, font.Size, ppi, s,
             CreateFontA(-MulDiv(font.Size, ppi, 72), 0, 0, 0, s & fsBold ? FW_BOLD : FW_NORMAL, (s & fsItalic) != 0,
                         (s & fsUnderline) != 0, (s & fsStrikeOut) != 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, font.Name.c_str())};
    return cache.handle;
}

TChartLayout TChartPainter::Layout(const TChart& chart, int width, int height)
{
    if (!dc_ && !(dc_ = CreateCompatibleDC(nullptr)))
        return ComputeChartLayout(chart, width, height, 13, [](const std::string& s) { return 6 * int(s.size()); },
                                  Separators);
    HGDIOBJ old = SelectObject(dc_, FontFor(chart.LeftAxis.LabelsFont, leftFont_));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    HDC dc = dc_;
    auto measure = [dc](const std::string& s) {
        SIZE size{};
        GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    };
    TChartLayout l = ComputeChartLayout(chart, width, height, tm.tmHeight, measure, Separators);
    SelectObject(dc_, old);
    return l;
}

void TChartPainter::Paint(HDC dc, const TChart& chart, int width, int height,
                          const std::optional<TPixelRect>& rubberBand)
{
    if (width <= 0 || height <= 0 || !EnsureBuffer(width, height))
        return;
    const int saved = SaveDC(dc_);
    PaintBackground(chart);
    const TChartLayout l = Layout(chart, width, height);
    PaintWalls(l);
    GdiFlush(); // GDI's drawing must be in the bits before the lines go in
    PaintSeries(chart, l);
    PaintLabels(chart, l);
    if (rubberBand) {
        Selected pen(dc_, CreatePen(PS_DOT, 1, RGB(255, 255, 255)));
        SetBkMode(dc_, TRANSPARENT);
        SelectObject(dc_, GetStockObject(NULL_BRUSH));
        Rectangle(dc_, rubberBand->Left, rubberBand->Top, rubberBand->Right, rubberBand->Bottom);
    }
    RestoreDC(dc_, saved);
    BitBlt(dc, 0, 0, width, height, dc_, 0, 0, SRCCOPY);
}

void TChartPainter::PaintBackground(const TChart& chart)
{
    const int width = canvas_.Width, height = canvas_.Height;
    {
        Selected brush(dc_, CreateSolidBrush(chart.Color & 0x00FFFFFF));
        PatBlt(dc_, 0, 0, width, height, PATCOPY);
    }
    const TChartBitmap& image = chart.BackImage;
    if (image.Empty())
        return;
    // DIB rows are padded to four bytes; the picture's are not.
    const int stride = (image.Width * 3 + 3) & ~3;
    std::vector<BYTE> bits(static_cast<std::size_t>(stride) * static_cast<std::size_t>(image.Height));
    for (int y = 0; y < image.Height; ++y)
        std::memcpy(&bits[static_cast<std::size_t>(stride) * static_cast<std::size_t>(y)],
                    &image.Bgr[static_cast<std::size_t>(image.Width) * 3 * static_cast<std::size_t>(y)],
                    static_cast<std::size_t>(image.Width) * 3);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = image.Width;
    bi.bmiHeader.biHeight = -image.Height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    auto put = [&](int x, int y, int w, int h) {
        StretchDIBits(dc_, x, y, w, h, 0, 0, image.Width, image.Height, bits.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
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

void TChartPainter::PaintWalls(const TChartLayout& l)
{
    const TPixelRect& p = l.Plot;
    const int d = l.Depth;
    const int axisX = p.Left - 1, axisY = p.Bottom; // the axes lie just outside the plot
    {
        // Grid lines on the back wall (the plot itself in the flat view), and
        // in 3D across the left wall and the floor.
        Selected pen(dc_, CreatePen(PS_SOLID, 1, GridColor));
        for (double v : l.YTicks.Values) {
            const int y = l.YMap.ToPixel(v);
            Line(dc_, p.Left + d, y - d, p.Right + d, y - d);
            if (d)
                Line(dc_, axisX, y, axisX + d, y - d);
        }
        for (double v : l.XTicks.Values) {
            const int x = l.XMap.ToPixel(v);
            Line(dc_, x + d, p.Top - d, x + d, p.Bottom - d);
            if (d)
                Line(dc_, x, axisY, x + d, axisY - d);
        }
    }
    Selected pen(dc_, CreatePen(PS_SOLID, 1, AxisColor));
    if (d) {
        // The box: the back wall's left and bottom edges, the walls' outer edges.
        Line(dc_, axisX + d, p.Top - d, axisX + d, axisY - d);
        Line(dc_, axisX + d, axisY - d, p.Right + d, axisY - d);
        Line(dc_, axisX, p.Top, axisX + d, p.Top - d);
        Line(dc_, axisX, axisY, axisX + d, axisY - d);
        Line(dc_, p.Right, axisY, p.Right + d, axisY - d);
    }
    Line(dc_, axisX, p.Top, axisX, axisY + 1);
    Line(dc_, axisX, axisY, p.Right + 1, axisY);
    for (double v : l.YTicks.Values) {
        const int y = l.YMap.ToPixel(v);
        Line(dc_, axisX - TChartMetrics::TickLength, y, axisX, y);
    }
    for (double v : l.XTicks.Values) {
        const int x = l.XMap.ToPixel(v);
        Line(dc_, x, axisY + 1, x, axisY + 1 + TChartMetrics::TickLength);
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
        const COLORREF color = s.SeriesColor() & 0x00FFFFFF;
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
        for (int z = zBack; z > zFront; --z) {
            at(z, -z, body);
            at(z - 1, -z, body);
        }
        at(zFront, -zFront, CanvasColor(color));
    }
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
    SetBkMode(dc_, TRANSPARENT);
    TEXTMETRICA tm{};
    if (chart.LeftAxis.Visible) {
        SelectObject(dc_, FontFor(chart.LeftAxis.LabelsFont, leftFont_));
        GetTextMetricsA(dc_, &tm);
        SetTextColor(dc_, chart.LeftAxis.LabelsFont.Color & 0x00FFFFFF);
        SetTextAlign(dc_, TA_RIGHT | TA_TOP);
        const int right = l.Plot.Left - 1 - TChartMetrics::TickLength - TChartMetrics::LabelGap;
        for (std::size_t i = 0; i < l.YTicks.Values.size(); ++i) {
            const std::string& s = l.YTicks.Labels[i];
            TextOutA(dc_, right, l.YMap.ToPixel(l.YTicks.Values[i]) - tm.tmHeight / 2, s.c_str(),
                     static_cast<int>(s.size()));
        }
    }
    if (chart.BottomAxis.Visible) {
        SelectObject(dc_, FontFor(chart.BottomAxis.LabelsFont, bottomFont_));
        SetTextColor(dc_, chart.BottomAxis.LabelsFont.Color & 0x00FFFFFF);
        SetTextAlign(dc_, TA_CENTER | TA_TOP);
        const int top = l.Plot.Bottom + 1 + TChartMetrics::TickLength;
        // Labels that would run into the left labels or off the right edge are left out.
        const int leftmost = l.Plot.Left - 1 - TChartMetrics::TickLength;
        for (std::size_t i = 0; i < l.XTicks.Values.size(); ++i) {
            const std::string& s = l.XTicks.Labels[i];
            SIZE size{};
            GetTextExtentPoint32A(dc_, s.c_str(), static_cast<int>(s.size()), &size);
            const int x = l.XMap.ToPixel(l.XTicks.Values[i]);
            if (x - size.cx / 2 < leftmost || x + (size.cx + 1) / 2 > canvas_.Width)
                continue;
            TextOutA(dc_, x, top, s.c_str(), static_cast<int>(s.size()));
        }
    }
}

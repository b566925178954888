// The chart window: model changes only invalidate it, WM_PAINT shows the
// painter's picture, and mouse drags zoom, scroll and return to the
// automatic view.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/ResponseTimeChart.h"
#include "toolkit/Form.h"

namespace {

// A 32-bit top-down DIB selected into its own memory DC.
class Dib {
public:
    Dib(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof bi.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bmp_);
    }
    ~Dib()
    {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    HDC Dc() const { return dc_; }
    // Its pixels without the unused top byte.
    std::vector<std::uint32_t> Pixels() const
    {
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits_);
        std::vector<std::uint32_t> out(p, p + width_ * height_);
        for (auto& px : out)
            px &= 0x00FFFFFF;
        return out;
    }

private:
    int width_, height_;
    HDC dc_;
    void* bits_ = nullptr;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// The pixels of a DC's top-left width x height.
std::vector<std::uint32_t> Grab(HDC source, int width, int height)
{
    Dib dib(width, height);
    BitBlt(dib.Dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    return dib.Pixels();
}

// What PaintTo draws at the control's size.
std::vector<std::uint32_t> Offscreen(TChartControl& control, int width, int height)
{
    Dib dib(width, height);
    control.PaintTo(dib.Dc());
    return dib.Pixels();
}

class ChartControlTest : public ::testing::Test {
protected:
    ChartControlTest() : host(nullptr, "ZvChartTestHost")
    {
        host.SetClientSize(400, 220);
        chart = new TChartControl(&host, &host, {48, 77, 273, 100});
        BuildResponseTimeChart(chart->Chart());
        chart->Series(0)->SetSeriesColor(0x00808000);
        for (int i = 1; i <= 30; ++i)
            chart->Series(0)->InsertPoint(i, 20 + (i * 13) % 17);
        chart->Series(1)->FunctionType()->Recompute();
        host.Show();
        Settle();
    }
    HWND Window() const { return chart->Handle(); }
    bool Pending() const { return GetUpdateRect(Window(), nullptr, FALSE) != 0; }
    void Settle()
    {
        UpdateWindow(host.Handle());
        UpdateWindow(Window());
    }
    void Send(UINT message, int x, int y, WPARAM keys = 0)
    {
        SendMessageA(Window(), message, keys, MAKELPARAM(x, y));
    }

    tk::Form host;
    TChartControl* chart; // owned by host
};

} // namespace

TEST_F(ChartControlTest, ModelChangesOnlyInvalidate)
{
    ASSERT_FALSE(Pending());
    chart->Series(0)->SetSeriesColor(0x00808000);
    chart->SetView3D(false);
    EXPECT_FALSE(Pending()) << "unchanged colour and view ask for nothing";

    struct Step {
        const char* what;
        void (*act)(TChartControl&);
    };
    const Step steps[] = {
        {"insert", [](TChartControl& c) { c.Series(0)->InsertPoint(31, 40); }},
        {"remove", [](TChartControl& c) { c.Series(0)->RemovePoint(0); }},
        {"recompute", [](TChartControl& c) { c.Series(1)->FunctionType()->Recompute(); }},
        {"colour", [](TChartControl& c) { c.Series(1)->SetSeriesColor(0x000000FF); }},
        {"3D", [](TChartControl& c) { c.SetView3D(true); }},
        {"clear", [](TChartControl& c) { c.Series(0)->ClearPoints(); }},
    };
    for (const Step& s : steps) {
        s.act(*chart);
        EXPECT_TRUE(Pending()) << s.what;
        Settle();
        EXPECT_FALSE(Pending()) << s.what;
    }
}

TEST_F(ChartControlTest, WindowShowsThePaintersPictureAtEverySize)
{
    EXPECT_EQ(SendMessageA(Window(), WM_ERASEBKGND, 0, 0), 1) << "no background erase to flicker";
    for (auto [w, h] : {std::pair{273, 100}, std::pair{320, 140}}) {
        SetWindowPos(Window(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
        RECT client{};
        GetClientRect(Window(), &client);
        ASSERT_EQ(client.right, w);
        InvalidateRect(Window(), nullptr, FALSE);
        Settle();
        HDC dc = GetDC(Window());
        const auto shown = Grab(dc, w, h);
        ReleaseDC(Window(), dc);
        EXPECT_TRUE(shown == Offscreen(*chart, w, h)) << w << "x" << h;
    }
}

TEST_F(ChartControlTest, DragsZoomScrollAndReset)
{
    // Left drag towards the lower right: zoom.
    Send(WM_LBUTTONDOWN, 100, 20, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), Window());
    Send(WM_MOUSEMOVE, 160, 60, MK_LBUTTON);
    EXPECT_TRUE(Pending()) << "the rubber band shows";
    Send(WM_LBUTTONUP, 160, 60);
    EXPECT_NE(GetCapture(), Window());
    ASSERT_TRUE(chart->Chart().Zoomed());
    const TValueRange zoomedX = chart->Chart().ViewX();
    EXPECT_LT(zoomedX.Max - zoomedX.Min, 29);

    // Right drag: scroll, keeping the zoomed span.
    Send(WM_RBUTTONDOWN, 100, 50, MK_RBUTTON);
    Send(WM_MOUSEMOVE, 130, 50, MK_RBUTTON);
    Send(WM_RBUTTONUP, 130, 50);
    const TValueRange scrolledX = chart->Chart().ViewX();
    EXPECT_LT(scrolledX.Min, zoomedX.Min);
    EXPECT_NEAR(scrolledX.Max - scrolledX.Min, zoomedX.Max - zoomedX.Min, 1e-9);

    // Left drag towards the upper left: back to the automatic view.
    Send(WM_LBUTTONDOWN, 160, 60, MK_LBUTTON);
    Send(WM_MOUSEMOVE, 120, 30, MK_LBUTTON);
    Send(WM_LBUTTONUP, 120, 30);
    EXPECT_FALSE(chart->Chart().Zoomed());
}

TEST_F(ChartControlTest, LosingTheCaptureEndsTheDrag)
{
    Send(WM_LBUTTONDOWN, 100, 20, MK_LBUTTON);
    Send(WM_MOUSEMOVE, 160, 60, MK_LBUTTON);
    ReleaseCapture();
    Send(WM_LBUTTONUP, 160, 60);
    EXPECT_FALSE(chart->Chart().Zoomed());
}

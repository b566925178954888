#include "app/uMain.h"

#include "toolkit/TestHooks.h"
#include "chart/ResponseTimeChart.h"

TFormMain* FormMain = nullptr;

TFormMain::TFormMain(tk::Component* owner) : tk::Form(owner, "TFormMain")
{
    ZV_FAIL_POINT("TFormMain");
    SetBorderStyle(tk::BorderStyle::None);
    SetClientSize(475, 265);
    SetCenterOnFirstShow(true);
    SetColor(RGB(0x1E, 0x2B, 0x33));

    lbHost = new tk::Label(this, this, {88, 57, 0, 13}, "Host to watch");
    lbHost->SetName("lbHost");
    lbHost->SetAutoSize(true);
    lbAVG = new tk::Label(this, this, {328, 151, 129, 13}, "0,00 [ms] / 0 [err]");
    lbAVG->SetName("lbAVG");
    lbAVG->SetAlignment(tk::Alignment::Center);
    lbAVG->SetTextColor(RGB(255, 255, 255));
    Chart1 = new TChartControl(this, this, {48, 77, 273, 100});
    Chart1->SetName("Chart1");
    BuildResponseTimeChart(Chart1->Chart());
}

void TFormMain::SetStartStop(bool running)
{
    running_ = running;
}

LRESULT TFormMain::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (ZV_THROW_ON_REQUEST(message, wParam))
        return 0;
    return tk::Form::WindowProc(message, wParam, lParam);
}

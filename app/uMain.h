// TFormMain: the compact monitor window, the program's main window. Created
// first at start-up; a borderless 475 x 265 window centred on the screen,
// cut to the skin's outline. Everything it shows is written by the console
// through the members below; its clicks are carried out by the console.
// Owned by the application; lives until shutdown. GUI thread only.
#pragma once

#include "app/CoolForm.h"
#include "chart/ChartControl.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/ToolTip.h"

class TFormMain : public tk::Form {
public:
    explicit TFormMain(tk::Component* owner);

    // START while `running` is false, STOP while it is true.
    void SetStartStop(bool running);

    // Back to front, as the window shows them.
    TCoolForm* CoolForm1 = nullptr;
    tk::Label* lbHost = nullptr;
    tk::Image* Image1 = nullptr;
    tk::Image* Image2 = nullptr;
    tk::SpeedButton* SpeedButton1 = nullptr;
    tk::Image* Image3 = nullptr;
    tk::Label* Label6 = nullptr;
    tk::Label* lbAVG = nullptr;
    tk::Image* Image4 = nullptr;
    tk::Image* Image5 = nullptr;
    TChartControl* Chart1 = nullptr;
    // The run figures over the chart and the average labels.
    tk::ToolTip* FiguresTip = nullptr;

    void Image1Click(tk::Component* Sender);
    void Image2Click(tk::Component* Sender);
    void lbAVGClick(tk::Component* Sender);
    void StartStopClick(tk::Component* Sender);
    void SpeedButton1Click(tk::Component* Sender);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    tk::Image* NewImage(const char* name, tk::Rect bounds, const char* picture);
    tk::Label* NewLabel(const char* name, tk::Rect bounds, const char* text, HFONT font);

    tk::Font labelFont_;
    tk::Font boldFont_;
};

extern TFormMain* FormMain;

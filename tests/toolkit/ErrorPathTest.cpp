// An exception that leaves a handler reaches the application's error box
// exactly once, through every path a handler runs on (window procedure,
// reflected control notification, windowless click, timer), and the window
// keeps working afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/toolkit/AppFixture.h"
#include "toolkit/Button.h"
#include "toolkit/CustomControl.h"
#include "toolkit/Guarded.h"
#include "toolkit/Label.h"
#include "toolkit/Timer.h"

namespace {

class ThrowingForm : public PlainForm {
public:
    using PlainForm::PlainForm;
    static constexpr UINT kThrow = WM_APP + 1;
    int handled = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kThrow) {
            ++handled;
            throw std::runtime_error(reinterpret_cast<const char*>(lParam));
        }
        return PlainForm::WindowProc(message, wParam, lParam);
    }
};

class ErrorPathTest : public AppFixture {
protected:
    void SetUp() override { app.CreateForm(form); }
    std::string Title() const { return app.Title(); }
    ThrowingForm* form = nullptr;
};

TEST_F(ErrorPathTest, TheTitleComesFromTheExecutablesName)
{
    EXPECT_EQ(Title(), "toolkit_wine_test");
}

TEST_F(ErrorPathTest, AWindowProcedureErrorIsShownOnceWithTheFullStopRule)
{
    LRESULT r = SendMessageA(form->Handle(), ThrowingForm::kThrow, 0, reinterpret_cast<LPARAM>("Boom"));
    EXPECT_EQ(r, 0);
    EXPECT_EQ(boxes, (std::vector<CapturedBox>{{Title(), "Boom."}}));
    SendMessageA(form->Handle(), ThrowingForm::kThrow, 0, reinterpret_cast<LPARAM>("Boom again."));
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes.back().text, "Boom again.");
    EXPECT_EQ(form->handled, 2);
    EXPECT_TRUE(IsWindow(form->Handle())) << "the window survives its handler's error";
}

TEST_F(ErrorPathTest, APostedMessagesErrorIsShownOnceAndTheLoopGoesOn)
{
    PostMessageA(form->Handle(), ThrowingForm::kThrow, 0, reinterpret_cast<LPARAM>("Posted"));
    PostMessageA(form->Handle(), WM_NULL, 0, 0);
    app.ProcessMessages();
    EXPECT_EQ(boxes, (std::vector<CapturedBox>{{Title(), "Posted."}}));
    EXPECT_FALSE(app.Terminated());
}

TEST_F(ErrorPathTest, AButtonClickErrorIsShownOnce)
{
    auto* button = new tk::Button(form, form, {10, 10, 80, 24}, "Ping");
    int before = 0, after = 0;
    button->OnClick = [&](tk::Component* sender) {
        EXPECT_EQ(sender, button);
        ++before;
        throw std::runtime_error("Socket Error # 10013");
        ++after;
    };
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(boxes, (std::vector<CapturedBox>{{Title(), "Socket Error # 10013."}}));
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 0);
}

TEST_F(ErrorPathTest, AWindowlessClickErrorIsShownOnce)
{
    auto* label = new tk::Label(form, form, {0, 0, 50, 13}, "host");
    label->OnClick = [](tk::Component*) { throw std::runtime_error("Host not found!"); };
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(boxes, (std::vector<CapturedBox>{{Title(), "Host not found!"}}));
    EXPECT_EQ(GetCapture(), nullptr) << "the press released its capture";
}

TEST_F(ErrorPathTest, ATimerErrorIsShownOncePerTick)
{
    auto* timer = new tk::Timer(form);
    int ticks = 0;
    timer->SetInterval(10);
    timer->SetOnTimer([&](tk::Component* sender) {
        EXPECT_EQ(sender, timer);
        if (++ticks == 2)
            timer->SetEnabled(false);
        throw std::runtime_error("tick " + std::to_string(ticks));
    });
    DWORD end = GetTickCount() + 3000;
    while (ticks < 2 && GetTickCount() < end) {
        app.ProcessMessages();
        Sleep(5);
    }
    app.ProcessMessages();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(boxes, (std::vector<CapturedBox>{{Title(), "tick 1."}, {Title(), "tick 2."}}));
}

TEST_F(ErrorPathTest, ANonStandardExceptionIsShownToo)
{
    tk::Guarded([] { throw 42; });
    EXPECT_EQ(boxes, (std::vector<CapturedBox>{{Title(), "Unknown error."}}));
}

// A control of our own whose window procedure throws on one creation message.
class FailingControl : public tk::CustomControl {
public:
    FailingControl(tk::WinControl* parent, UINT failOn) : tk::CustomControl(parent, parent), failOn_(failOn)
    {
        CreateCustom("TkFailingControl", "", WS_CHILD | WS_VISIBLE, 0, {0, 0, 20, 20}, parent->Handle());
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == failOn_)
            throw std::runtime_error("Cannot build the control");
        return tk::CustomControl::WindowProc(message, wParam, lParam);
    }

private:
    UINT failOn_;
};

// The error of a window's own creation messages fails the control's
// construction, so the handler that built it shows that one error, once,
// and no half-made window stays behind.
TEST_F(ErrorPathTest, AControlFailingInItsCreationMessagesIsOneErrorOfItsBuilder)
{
    const struct {
        const char* name;
        UINT message;
    } cases[] = {{"WM_NCCREATE", WM_NCCREATE}, {"WM_CREATE", WM_CREATE}, {"WM_SIZE", WM_SIZE}};
    auto* button = new tk::Button(form, form, {10, 10, 80, 24}, "Build");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        bool built = false;
        button->OnClick = [&](tk::Component*) {
            new FailingControl(form, c.message);
            built = true;
        };
        SendMessageA(button->Handle(), BM_CLICK, 0, 0);
        EXPECT_FALSE(built);
        EXPECT_EQ(boxes, (std::vector<CapturedBox>{{Title(), "Cannot build the control."}}));
        EXPECT_EQ(FindWindowExA(form->Handle(), nullptr, "TkFailingControl", nullptr), nullptr);
        EXPECT_EQ(form->Owned().size(), 1u) << "only the button is left";
    }
}

TEST_F(ErrorPathTest, TheFatalBoxIsTitledApplicationError)
{
    try {
        throw std::invalid_argument("Bad window description");
    } catch (...) {
        app.ShowFatalException();
    }
    EXPECT_EQ(boxes, (std::vector<CapturedBox>{
                         {"Application Error", "Exception std::invalid_argument:\nBad window description."}}));
}

} // namespace

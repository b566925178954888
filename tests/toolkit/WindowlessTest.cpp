// Windowless controls on a real window: hit-testing front to back through
// mouse messages, clicks, presses on the bare surface, the cursor from
// WM_SETCURSOR, and painting back to front into any DC.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "tests/toolkit/AppFixture.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/DriverProtocol.h"
#include "toolkit/Label.h"

namespace {

// A solid block, so painting order shows in the pixels.
class Block : public tk::GraphicControl {
public:
    Block(tk::CustomControl* parent, tk::Rect bounds, COLORREF color, std::string* clicked, const char* name)
        : tk::GraphicControl(parent, parent, bounds), color_(color)
    {
        OnClick = [clicked, name](tk::Component*) { *clicked += std::string(name) + " "; };
    }
    void Paint(HDC dc) override
    {
        tk::Rect b = Bounds();
        RECT r{b.left, b.top, b.Right(), b.Bottom()};
        tk::Brush brush(CreateSolidBrush(color_));
        FillRect(dc, &r, brush.Get());
    }

private:
    COLORREF color_;
};

class SurfaceForm : public PlainForm {
public:
    using PlainForm::PlainForm;
    std::string bare;

protected:
    void MouseDown(tk::MouseButton button, tk::Point p, unsigned) override
    {
        bare += (button == tk::MouseButton::Left ? "left@" : "other@") + std::to_string(p.x) + "," +
                std::to_string(p.y) + " ";
    }
};

class WindowlessTest : public AppFixture {
protected:
    void SetUp() override
    {
        app.CreateForm(form);
        form->SetBorderStyle(tk::BorderStyle::None);
        form->SetClientSize(200, 100);
        form->SetBounds({100, 100, 200, 100});
        back = new Block(form, {0, 0, 200, 100}, RGB(255, 0, 0), &clicked, "back");
        left = new Block(form, {10, 10, 50, 20}, RGB(0, 255, 0), &clicked, "left");
        right = new Block(form, {40, 10, 50, 20}, RGB(0, 0, 255), &clicked, "right");
        spot = new Block(form, {150, 50, 30, 30}, RGB(255, 255, 0), &clicked, "spot");
        spot->SetVisible(false);
        form->Show();
    }

    void Press(UINT down, UINT up, int x, int y, int upX, int upY)
    {
        SendMessageA(form->Handle(), down, 0, MAKELPARAM(x, y));
        if (up)
            SendMessageA(form->Handle(), up, 0, MAKELPARAM(upX, upY));
    }
    void LeftClick(int x, int y) { Press(WM_LBUTTONDOWN, WM_LBUTTONUP, x, y, x, y); }

    SurfaceForm* form = nullptr;
    Block* back = nullptr;
    Block* left = nullptr;
    Block* right = nullptr;
    Block* spot = nullptr;
    std::string clicked;
};

TEST_F(WindowlessTest, AClickGoesToTheFrontMostControlUnderThePointer)
{
    struct Case {
        int x, y;
        const char* expected;
    };
    const Case cases[] = {{5, 5, "back "}, {15, 15, "left "}, {45, 15, "right "}, {89, 29, "right "},
                          {90, 29, "back "}, {155, 55, "back "}};
    for (const Case& c : cases) {
        clicked.clear();
        LeftClick(c.x, c.y);
        EXPECT_EQ(clicked, c.expected) << c.x << "," << c.y;
    }
    EXPECT_EQ(form->bare, "");
}

TEST_F(WindowlessTest, VisibilityAndRestackingChangeWhoIsClicked)
{
    spot->SetVisible(true);
    right->SendToBack();
    LeftClick(155, 55);
    LeftClick(45, 15);
    EXPECT_EQ(clicked, "spot left ");
    left->SetEnabled(false);
    clicked.clear();
    LeftClick(15, 15);
    EXPECT_EQ(clicked, "back ");
}

TEST_F(WindowlessTest, AClickNeedsPressAndReleaseOnTheSameControl)
{
    Press(WM_LBUTTONDOWN, WM_LBUTTONUP, 15, 15, 70, 15);
    EXPECT_EQ(clicked, "");
    Press(WM_RBUTTONDOWN, WM_RBUTTONUP, 15, 15, 15, 15);
    EXPECT_EQ(clicked, "");
    Press(WM_LBUTTONDOWN, WM_LBUTTONUP, 15, 15, 16, 16);
    EXPECT_EQ(clicked, "left ");
}

TEST_F(WindowlessTest, APressWhereNoControlLiesGoesToTheWindow)
{
    back->SetVisible(false);
    Press(WM_LBUTTONDOWN, WM_LBUTTONUP, 120, 70, 120, 70);
    Press(WM_RBUTTONDOWN, 0, 5, 90, 0, 0);
    EXPECT_EQ(form->bare, "left@120,70 other@5,90 ");
    EXPECT_EQ(clicked, "");
}

TEST_F(WindowlessTest, EveryPressReachesTheControlsMouseDownHandler)
{
    std::string pressed;
    left->OnMouseDown = [&](tk::Component* sender, tk::MouseButton button, tk::Point p) {
        EXPECT_EQ(sender, left);
        pressed += (button == tk::MouseButton::Right ? "right@" : "left@") + std::to_string(p.x) + " ";
    };
    Press(WM_RBUTTONDOWN, 0, 15, 15, 0, 0);
    Press(WM_LBUTTONDOWN, WM_LBUTTONUP, 20, 15, 20, 15);
    EXPECT_EQ(pressed, "right@15 left@20 ");
    EXPECT_EQ(clicked, "left ");
}

TEST_F(WindowlessTest, TheCursorIsTheFrontMostControlsOrTheWindows)
{
    HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    HCURSOR cross = LoadCursor(nullptr, IDC_CROSS);
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    right->SetCursor(hand);
    spot->SetCursor(cross);
    EXPECT_EQ(form->CursorAt({45, 15}), hand);
    EXPECT_EQ(form->CursorAt({15, 15}), arrow) << "left has no cursor of its own";
    EXPECT_EQ(form->CursorAt({155, 55}), arrow) << "a hidden control sets no cursor";
    spot->SetVisible(true);
    EXPECT_EQ(form->CursorAt({155, 55}), cross);
}

TEST_F(WindowlessTest, WmSetCursorShowsTheCursorUnderThePointer)
{
    HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    right->SetCursor(hand);
    POINT over{45, 15};
    ClientToScreen(form->Handle(), &over);
    ASSERT_TRUE(SetCursorPos(over.x, over.y));
    POINT now{};
    GetCursorPos(&now);
    if (now.x != over.x || now.y != over.y)
        GTEST_SKIP() << "the display does not move the pointer";
    SetCursor(nullptr);
    EXPECT_EQ(SendMessageA(form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), hand);
    // The busy cursor covers every control; taking it away asks the window
    // under the pointer again (without moving the pointer).
    tk::TheApplication->SetScreenCursor(LoadCursor(nullptr, IDC_WAIT));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
    tk::TheApplication->SetScreenCursor(nullptr);
    EXPECT_EQ(GetCursor(), hand);
    // Outside the client area the system decides.
    EXPECT_EQ(SendMessageA(form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle()),
                           MAKELPARAM(HTCAPTION, WM_MOUSEMOVE)),
              FALSE);
}

TEST_F(WindowlessTest, PaintsBackToFrontIntoAnyDC)
{
    tk::ClientDC screen(form->Handle());
    tk::MemoryDC dc(CreateCompatibleDC(screen.Get()));
    tk::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), 200, 100));
    tk::SelectScope select(dc.Get(), bitmap.Get());
    form->PaintTo(dc.Get());
    EXPECT_EQ(GetPixel(dc.Get(), 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.Get(), 15, 15), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc.Get(), 45, 15), RGB(0, 0, 255)) << "the later control lies in front";
    EXPECT_EQ(GetPixel(dc.Get(), 155, 55), RGB(255, 0, 0)) << "hidden controls are not painted";
    spot->SetVisible(true);
    left->BringToFront();
    form->PaintTo(dc.Get());
    EXPECT_EQ(GetPixel(dc.Get(), 45, 15), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc.Get(), 155, 55), RGB(255, 255, 0));
}

TEST_F(WindowlessTest, APaintIsClippedToTheControlsBounds)
{
    // A control that paints beyond its bounds must not spill onto its neighbours.
    class Spill : public tk::GraphicControl {
    public:
        using tk::GraphicControl::GraphicControl;
        void Paint(HDC dc) override
        {
            RECT all{0, 0, 200, 100};
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        }
    };
    new Spill(form, form, {100, 40, 10, 10});
    tk::ClientDC screen(form->Handle());
    tk::MemoryDC dc(CreateCompatibleDC(screen.Get()));
    tk::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), 200, 100));
    tk::SelectScope select(dc.Get(), bitmap.Get());
    form->PaintTo(dc.Get());
    EXPECT_EQ(GetPixel(dc.Get(), 105, 45), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc.Get(), 99, 45), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.Get(), 110, 45), RGB(255, 0, 0));
}

// The asking side of a graphic query: a window that keeps the answer it is sent.
class Asker {
public:
    Asker()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TkTestAsker";
        RegisterClassA(&wc);
        window_.Reset(CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                      nullptr));
        SetPropA(window_.Get(), "answer", &answer_);
    }
    // Whether the host said it found the control, and what came back.
    std::pair<bool, tk::GraphicQuery> Ask(HWND host, std::string_view request)
    {
        answer_ = {};
        std::strcpy(answer_.text, "stale");
        COPYDATASTRUCT data{tk::kGraphicQueryTag, static_cast<DWORD>(request.size()),
                            const_cast<char*>(request.data())};
        bool found = SendMessageA(host, WM_COPYDATA, reinterpret_cast<WPARAM>(window_.Get()),
                                  reinterpret_cast<LPARAM>(&data)) == 1;
        return {found, answer_};
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* answer = static_cast<tk::GraphicQuery*>(GetPropA(window, "answer"));
        auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (message != WM_COPYDATA || !answer || data->dwData != tk::kGraphicQueryTag ||
            data->cbData != sizeof *answer)
            return DefWindowProcA(window, message, wParam, lParam);
        std::memcpy(answer, data->lpData, sizeof *answer);
        return 1;
    }

    tk::Window window_;
    tk::GraphicQuery answer_{};
};

// What the test driver reads of a windowless control, asked by name; the
// answer is sent back as a copy, never written where the asker points.
TEST_F(WindowlessTest, AWindowAnswersQueriesForItsWindowlessControlsByName)
{
    auto* label = new tk::Label(form, form, {20, 70, 60, 13}, "127.0.0.1");
    label->SetName("lbHost");
    spot->SetName("Image5");
    Asker asker;
    auto ask = [&](std::string_view name) { return asker.Ask(form->Handle(), name); };

    auto [found, host] = ask("lbHost");
    ASSERT_TRUE(found);
    EXPECT_STREQ(host.name, "lbHost");
    EXPECT_STREQ(host.text, "127.0.0.1");
    EXPECT_EQ(host.left, 20);
    EXPECT_EQ(host.top, 70);
    EXPECT_EQ(host.width, 60);
    EXPECT_EQ(host.height, 13);
    EXPECT_EQ(host.visible, 1);
    label->SetText("localhost");
    label->SetEnabled(false);
    EXPECT_STREQ(ask("lbHost").second.text, "localhost");
    EXPECT_EQ(ask("lbHost").second.enabled, 0);

    auto [pictureFound, picture] = ask("Image5");
    ASSERT_TRUE(pictureFound);
    EXPECT_STREQ(picture.text, "") << "a control without a caption";
    EXPECT_EQ(picture.visible, 0);

    EXPECT_FALSE(ask("lbAVG").first);
    EXPECT_FALSE(ask(std::string_view("lbHost\0", 7)).first) << "a name with a NUL is refused";
    EXPECT_STREQ(ask("lbAVG").second.text, "stale") << "nothing is sent back for an unknown name";
}

TEST_F(WindowlessTest, AnAutoSizedLabelIsAsWideAsItsText)
{
    auto* label = new tk::Label(form, form, {88, 57, 1, 13}, "");
    label->SetAutoSize(true);
    label->SetText("W");
    int narrow = label->Bounds().width;
    label->SetText("WWWW");
    EXPECT_GT(narrow, 0);
    EXPECT_NEAR(label->Bounds().width, 4 * narrow, 2);
    EXPECT_EQ(label->Bounds().height, 13);
    EXPECT_EQ(label->Bounds().left, 88);
}

} // namespace

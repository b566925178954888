// How messages reach our objects: notifications reflected to the child's own
// object (by id while its window is still being created), the subclass hook
// and its error path, typed handlers, and a back buffer that is redrawn only
// after an invalidation.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tests/toolkit/AppFixture.h"
#include "toolkit/CustomControl.h"
#include "toolkit/WinControl.h"

namespace {

// An owner-drawn list box that records what is reflected to it.
class OwnerList : public tk::WinControl {
public:
    OwnerList(tk::WinControl* parent) : tk::WinControl(parent, parent), brush_(CreateSolidBrush(RGB(1, 2, 3)))
    {
        CreateHandle("LISTBOX", "", WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 0, {0, 0, 100, 80});
        SubclassWindow();
    }
    std::string seen;
    bool throwOnChar = false;

    bool MeasureItem(MEASUREITEMSTRUCT& item) override
    {
        seen += Handle() ? "measure-late " : "measure-during-creation ";
        item.itemHeight = 23;
        return true;
    }
    bool DrawItem(DRAWITEMSTRUCT&) override
    {
        seen += "draw ";
        return true;
    }
    HBRUSH CtlColor(HDC) override { return brush_.Get(); }
    void Scroll(unsigned code, int) override { seen += "scroll" + std::to_string(code) + " "; }

protected:
    LRESULT SubclassProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CHAR) {
            seen += "char ";
            if (throwOnChar)
                throw std::runtime_error("no chars here");
        }
        return tk::WinControl::SubclassProc(message, wParam, lParam);
    }

private:
    tk::Brush brush_;
};

// A surface that records its typed handlers and counts its redraws.
class Surface : public tk::CustomControl {
public:
    explicit Surface(tk::WinControl* parent) : tk::CustomControl(parent, parent)
    {
        CreateCustom("TkTestSurface", "", WS_CHILD | WS_VISIBLE, 0, {0, 0, 120, 60}, ParentHandle());
    }
    std::string calls;
    int draws = 0;

    void PaintTo(HDC dc) override
    {
        ++draws;
        tk::CustomControl::PaintTo(dc);
    }

protected:
    void OnSize(int cx, int cy) override { Log("size", cx, cy); }
    void OnMouseDown(tk::MouseButton b, tk::Point p, unsigned keys) override
    {
        Log(b == tk::MouseButton::Right ? "rdown" : "down", p.x, p.y, keys);
    }
    void OnMouseUp(tk::MouseButton, tk::Point p, unsigned) override { Log("up", p.x, p.y); }
    void OnMouseMove(tk::Point p, unsigned) override { Log("move", p.x, p.y); }
    void OnCommand(int id, unsigned code) override { Log("command", id, static_cast<int>(code)); }
    void OnTimer(UINT_PTR id) override { Log("timer", static_cast<int>(id)); }
    void OnKeyDown(unsigned vk, unsigned) override { Log("key", static_cast<int>(vk)); }
    void OnChar(unsigned ch, unsigned) override { Log("char", static_cast<int>(ch)); }

private:
    void Log(const char* what, int a, int b = -1, unsigned c = 0)
    {
        calls += what;
        calls += ':' + std::to_string(a);
        if (b >= 0)
            calls += ',' + std::to_string(b);
        if (c)
            calls += ',' + std::to_string(c);
        calls += ' ';
    }
};

class MessageTest : public AppFixture {
protected:
    void SetUp() override
    {
        app.CreateForm(form);
        form->SetClientSize(240, 160);
        form->Show();
    }
    PlainForm* form = nullptr;
};

TEST_F(MessageTest, NotificationsReachTheChildsOwnObject)
{
    auto* list = new OwnerList(form);
    EXPECT_EQ(list->seen, "measure-during-creation ") << "found by its id before its window was attached";
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETITEMHEIGHT, 0, 0), 23);

    SendMessageA(list->Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
    UpdateWindow(list->Handle());
    EXPECT_NE(list->seen.find("draw "), std::string::npos);
    HDC dc = GetDC(list->Handle());
    EXPECT_EQ(SendMessageA(form->Handle(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(list->Handle())),
              reinterpret_cast<LRESULT>(list->CtlColor(dc)));
    ReleaseDC(list->Handle(), dc);
    SendMessageA(form->Handle(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(list->Handle()));
    EXPECT_NE(list->seen.find("scroll1 "), std::string::npos);

    // The subclass hook sees the control's own messages, and an error in it
    // is shown once instead of unwinding through the window manager.
    list->throwOnChar = true;
    SendMessageA(list->Handle(), WM_CHAR, 'x', 0);
    EXPECT_NE(list->seen.find("char "), std::string::npos);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "no chars here.");
    const int id = list->Id();
    delete list;
    MEASUREITEMSTRUCT late{ODT_LISTBOX, static_cast<UINT>(id), 0, 0, 0, 0};
    SendMessageA(form->Handle(), WM_MEASUREITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&late));
    EXPECT_EQ(late.itemHeight, 0u) << "a freed control's id no longer leads to it";
}

TEST_F(MessageTest, MessagesArriveAsTypedHandlerCalls)
{
    auto* surface = new Surface(form);
    surface->calls.clear();
    HWND w = surface->Handle();
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* expected;
    } cases[] = {
        {WM_SIZE, 0, MAKELPARAM(90, 40), "size:90,40 "},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7), "down:5,7,1 "},
        {WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(6, 8), "rdown:6,8,2 "},
        {WM_MOUSEMOVE, 0, MAKELPARAM(-3, 9), "move:-3,9 "},
        {WM_LBUTTONUP, 0, MAKELPARAM(4, 4), "up:4,4 "},
        {WM_COMMAND, MAKEWPARAM(40001, 0), 0, "command:40001,0 "},
        {WM_TIMER, 7, 0, "timer:7 "},
        {WM_KEYDOWN, VK_UP, 0, "key:38 "},
        {WM_CHAR, 'a', 0, "char:97 "},
    };
    for (const auto& c : cases) {
        surface->calls.clear();
        SendMessageA(w, c.message, c.wParam, c.lParam);
        EXPECT_EQ(surface->calls, c.expected) << c.message;
    }
    EXPECT_EQ(SendMessageA(w, WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(MessageTest, TheBackBufferIsRedrawnOnlyAfterAnInvalidation)
{
    auto* surface = new Surface(form);
    HWND w = surface->Handle();
    UpdateWindow(w);
    const int first = surface->draws;
    EXPECT_EQ(first, 1);

    InvalidateRect(w, nullptr, FALSE); // uncovered: copied again, not redrawn
    UpdateWindow(w);
    EXPECT_EQ(surface->draws, first);

    surface->Invalidate({10, 10, 20, 20});
    UpdateWindow(w);
    EXPECT_EQ(surface->draws, first + 1);

    SetWindowPos(w, nullptr, 0, 0, 150, 70, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(w);
    EXPECT_EQ(surface->draws, first + 2) << "a new size, a new buffer";

    // What the window shows is the picture PaintTo draws.
    surface->SetColor(RGB(10, 200, 30));
    UpdateWindow(w);
    HDC dc = GetDC(w);
    EXPECT_EQ(GetPixel(dc, 140, 60), RGB(10, 200, 30));
    ReleaseDC(w, dc);
}

} // namespace

// The numeric field and the colour chooser in a window, and the form's dialog
// keys around them: typing, arrows and auto-repeat, clamping when the focus
// leaves, a colour that the list does not offer, Tab order and Enter.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/toolkit/AppFixture.h"
#include "toolkit/Button.h"
#include "toolkit/ColorBox.h"
#include "toolkit/SpinEdit.h"

namespace {

using Clock = std::chrono::steady_clock;

// A container inside the form, as panels and tab pages are.
class Box : public tk::CustomControl {
public:
    Box(tk::WinControl* parent, tk::Rect bounds) : tk::CustomControl(parent, parent)
    {
        CreateCustom("TkTestBox", "", WS_CHILD | WS_VISIBLE, 0, bounds, ParentHandle());
    }
};

class FieldsTest : public AppFixture {
protected:
    void SetUp() override
    {
        app.CreateForm(form);
        form->SetClientSize(400, 300);
        timeout = new tk::SpinEdit(form, form, {10, 10, 120, 21}, 100, 10000, 1, 1000);
        auto* box = new Box(form, {10, 40, 300, 120});
        check = new tk::Button(box, box, {10, 10, 100, 20}, "Check", BS_AUTOCHECKBOX);
        colors = new tk::ColorBox(box, box, {10, 40, 160, 22});
        buffer = new tk::SpinEdit(box, box, {10, 80, 120, 21}, 1024, 102400, 1024, 8192);
        other = new tk::Button(form, form, {10, 200, 90, 24}, "Other");
        ok = new tk::Button(form, form, {110, 200, 90, 24}, "OK");
        other->OnClick = [this](tk::Component*) { clicks += "other "; };
        ok->OnClick = [this](tk::Component*) { clicks += "ok "; };
        form->SetDefaultButton(ok);
        form->Show();
        SetForegroundWindow(form->Handle());
        app.ProcessMessages();
    }

    // Keys go through the application's loop, as the user's do.
    void Key(WPARAM vk, bool shift = false)
    {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
        HWND focus = GetFocus();
        PostMessageA(focus, WM_KEYDOWN, vk, 1);
        PostMessageA(focus, WM_KEYUP, vk, 0xC0000001);
        app.ProcessMessages();
        state[VK_SHIFT] = 0;
        SetKeyboardState(state);
    }
    void Type(const std::string& text)
    {
        for (char c : text)
            PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
        app.ProcessMessages();
    }
    // Runs the loop for a while; returns how long it really ran.
    Clock::duration Pump(std::chrono::milliseconds length)
    {
        const auto start = Clock::now();
        while (Clock::now() - start < length) {
            app.ProcessMessages();
            Sleep(5);
        }
        return Clock::now() - start;
    }

    PlainForm* form = nullptr;
    tk::SpinEdit* timeout = nullptr;
    tk::SpinEdit* buffer = nullptr;
    tk::Button* check = nullptr;
    tk::ColorBox* colors = nullptr;
    tk::Button* other = nullptr;
    tk::Button* ok = nullptr;
    std::string clicks;
};

TEST_F(FieldsTest, ANumericFieldFiltersReadsAsTypedStepsAndClampsWhenLeft)
{
    int changes = 0;
    timeout->OnChange = [&](tk::Component*) { ++changes; };
    timeout->SetFocus();
    timeout->SetText("");
    Type("5a0");
    EXPECT_EQ(timeout->Text(), "50") << "the letter is refused";
    EXPECT_EQ(timeout->Value(), 50) << "read as typed while the field has the focus";
    EXPECT_GE(changes, 3);
    Key(VK_RETURN);
    EXPECT_EQ(clicks, "ok ") << "Enter reaches the default button";
    EXPECT_EQ(timeout->Text(), "50") << "and is never text";

    Key(VK_TAB);
    EXPECT_EQ(timeout->Text(), "100") << "clamped when the focus left";

    timeout->SetText("abc");
    EXPECT_EQ(timeout->Value(), 100);
    timeout->SetFocus();
    buffer->SetFocus();
    EXPECT_EQ(timeout->Text(), "abc") << "text that is no number stays";
    timeout->SetValue(20000);
    EXPECT_EQ(timeout->Text(), "10000");
    timeout->SetText("0x3E8");
    EXPECT_EQ(timeout->Value(), 1000);

    buffer->SetFocus();
    Key(VK_UP);
    EXPECT_EQ(buffer->Value(), 9216);
    buffer->SetValue(102400);
    Key(VK_UP);
    EXPECT_EQ(buffer->Value(), 102400);
    Key(VK_DOWN);
    EXPECT_EQ(buffer->Value(), 101376);

    // Disabled while it has the focus: it counts as left.
    buffer->SetText("50");
    buffer->SetEnabled(false);
    EXPECT_EQ(buffer->Text(), "1024");
}

TEST_F(FieldsTest, HoldingAnArrowStepsOnceThenRepeats)
{
    HWND arrows = GetWindow(timeout->Handle(), GW_CHILD);
    ASSERT_TRUE(arrows);
    RECT r{};
    GetClientRect(arrows, &r);
    POINT up{r.right / 2, r.bottom / 4};
    POINT screen = up;
    ClientToScreen(arrows, &screen);
    SetCursorPos(screen.x, screen.y); // the repeat goes on while the pointer stays on the arrow

    const auto start = Clock::now();
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.x, up.y));
    EXPECT_EQ(timeout->Value(), 1001) << "a press steps at once";
    EXPECT_EQ(GetFocus(), timeout->Handle());
    Pump(std::chrono::milliseconds(250));
    if (Clock::now() - start < std::chrono::milliseconds(400)) {
        EXPECT_EQ(timeout->Value(), 1001) << "no repeat before 400 ms";
    }
    Pump(std::chrono::milliseconds(950));
    const auto held = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    SendMessageA(arrows, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    const int repeats = timeout->Value() - 1001;
    EXPECT_GE(repeats, 2) << "held " << held << " ms";
    EXPECT_LE(repeats, 1 + (held - 400) / 100) << "held " << held << " ms";
    const int released = timeout->Value();
    Pump(std::chrono::milliseconds(300));
    EXPECT_EQ(timeout->Value(), released) << "the release stops it";

    POINT down{r.right / 2, r.bottom * 3 / 4};
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    SendMessageA(arrows, WM_LBUTTONUP, 0, MAKELPARAM(down.x, down.y));
    EXPECT_EQ(timeout->Value(), released - 1);
}

TEST_F(FieldsTest, AColourNotOfferedComesBackExactly)
{
    int changes = 0;
    colors->OnChange = [&](tk::Component*) { ++changes; };
    HWND w = colors->Handle();
    EXPECT_EQ(SendMessageA(w, CB_GETITEMHEIGHT, 0, 0), 16) << "measured while the window was created";
    EXPECT_EQ(SendMessageA(w, CB_GETCOUNT, 0, 0), 50);
    RECT list{};
    SendMessageA(w, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
    EXPECT_EQ(list.bottom - list.top, 9 * 16 + 2) << "whole rows in a frame, so the list never cuts itself down";

    colors->SetSelected(0x00123456);
    EXPECT_EQ(colors->Selected(), 0x00123456u);
    EXPECT_EQ(SendMessageA(w, CB_GETCOUNT, 0, 0), 51);
    EXPECT_EQ(colors->Text(), "$00123456");
    colors->SetSelected(0x80000005);
    EXPECT_EQ(colors->Text(), "clWindow");
    EXPECT_EQ(colors->Selected(), 0x80000005u);
    EXPECT_EQ(tk::ColorToRGB(0x80000005), GetSysColor(COLOR_WINDOW));
    colors->SetSelected(0x01ABCDEF);
    EXPECT_EQ(SendMessageA(w, CB_GETCOUNT, 0, 0), 51) << "one extra entry at most";
    EXPECT_EQ(colors->Selected(), 0x01ABCDEFu);
    EXPECT_EQ(changes, 0) << "setting is no user's change";

    // The user picks clTeal.
    SendMessageA(w, CB_SETCURSEL, 6, 0);
    SendMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(colors->Id(), CBN_SELCHANGE), reinterpret_cast<LPARAM>(w));
    EXPECT_EQ(colors->Selected(), 0x808000u);
    EXPECT_EQ(changes, 1);

    // The closed box shows the swatch of its colour.
    UpdateWindow(w);
    HDC dc = GetDC(w);
    EXPECT_EQ(GetPixel(dc, 12, 10), RGB(0, 0x80, 0x80));
    ReleaseDC(w, dc);
}

TEST_F(FieldsTest, TabWalksTheControlsInCreationOrderAndEnterPressesAButton)
{
    const HWND order[] = {timeout->Handle(), check->Handle(), colors->Handle(), buffer->Handle(), other->Handle(),
                          ok->Handle()};
    ASSERT_EQ(form->TabStops(), std::vector<HWND>(std::begin(order), std::end(order)));
    timeout->SetFocus();
    for (std::size_t i = 1; i <= std::size(order); ++i) {
        Key(VK_TAB);
        EXPECT_EQ(GetFocus(), order[i % std::size(order)]) << i;
    }
    Key(VK_TAB, true);
    EXPECT_EQ(GetFocus(), ok->Handle()) << "Shift+Tab goes back round";
    EXPECT_NE(GetWindowLongA(ok->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);

    auto* picture = new tk::Button(form, form, {210, 200, 90, 24}, "Picture", BS_OWNERDRAW);
    picture->OnClick = [this](tk::Component*) { clicks += "picture "; };
    const struct {
        HWND focus;
        const char* pressed;
    } enters[] = {
        {check->Handle(), "ok "},         {colors->Handle(), "ok "}, {other->Handle(), "other "},
        {picture->Handle(), "picture "}, {ok->Handle(), "ok "},
    };
    for (const auto& e : enters) {
        clicks.clear();
        SetFocus(e.focus);
        Key(VK_RETURN);
        EXPECT_EQ(clicks, e.pressed);
    }
    delete picture;
    other->SetEnabled(false);
    SetFocus(check->Handle());
    Key(VK_TAB);
    Key(VK_TAB);
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), ok->Handle()) << "a disabled control is skipped";
}

} // namespace

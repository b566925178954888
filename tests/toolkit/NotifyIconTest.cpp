// The notification-area icon under Wine's shell. The program's state icons
// carry an image drawn for every size. On the taskbar of a virtual desktop
// (the test starts itself again there) an icon shows, changes, keeps its tip
// within the limit, carries a balloon, answers a click, comes back after the
// shell lost it and goes; screenshots/notify-icon-*.png show it.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/driver/Driver.h"
#include "tests/driver/DriverDesktop.h"
#include "toolkit/Handles.h"
#include "toolkit/NotifyIcon.h"

namespace {

using std::chrono::milliseconds;
using zvdrive::FindOnTaskbar;

constexpr const char* kOnDesktop = "ZV_NOTIFY_ICON_DESKTOP";
constexpr UINT kCallback = WM_APP + 7;

enum StateId { kIdle, kUp, kUnstable, kDown };
struct State {
    const wchar_t* name;
    COLORREF fill;  // the colour inside the shape, as tools/make-state-icons.sh draws it
};
const State kStates[] = {{L"STATE_IDLE", RGB(0xA9, 0xBA, 0xC1)},
                         {L"STATE_UP", RGB(0x1F, 0xB5, 0xAE)},
                         {L"STATE_UNSTABLE", RGB(0xF5, 0xC0, 0x2A)},
                         {L"STATE_DOWN", RGB(0xD0, 0x38, 0x3D)}};

// The shipped executable, for its resources.
tk::Module LoadShipped()
{
    return tk::Module(LoadLibraryExA(zvdrive::BuildFile("app/ZentVorlumo.exe").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

int IconWidth(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return 0;
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    return mask.bmWidth;
}

TEST(StateIcons, HaveAnImageDrawnForEverySizeAndStayWithinTheirBudget)
{
    tk::Module shipped = LoadShipped();
    ASSERT_TRUE(shipped);
    DWORD imageBytes = 0;
    for (const State& state : kStates) {
        SCOPED_TRACE(testing::Message() << state.name);
        HRSRC groupInfo = FindResourceW(shipped.Get(), state.name, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
        ASSERT_NE(groupInfo, nullptr);
        auto* group = static_cast<BYTE*>(LockResource(LoadResource(shipped.Get(), groupInfo)));
        for (int size : {16, 20, 24, 32}) {
            // The image the system picks for this size is one drawn at it, never a scaled one.
            const int id = LookupIconIdFromDirectoryEx(group, TRUE, size, size, LR_DEFAULTCOLOR);
            HRSRC imageInfo = FindResourceW(shipped.Get(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3) /* RT_ICON */);
            ASSERT_NE(imageInfo, nullptr) << size;
            BITMAPINFOHEADER header;
            std::memcpy(&header, LockResource(LoadResource(shipped.Get(), imageInfo)), sizeof header);
            EXPECT_EQ(header.biWidth, size);
            EXPECT_EQ(header.biBitCount, 4) << size;
            imageBytes += SizeofResource(shipped.Get(), imageInfo);

            tk::Icon icon = tk::LoadSmallIcon(shipped.Get(), state.name, size);
            EXPECT_EQ(IconWidth(icon.Get()), size);
        }
        tk::Icon small = tk::LoadSmallIcon(shipped.Get(), state.name);
        EXPECT_EQ(IconWidth(small.Get()), GetSystemMetrics(SM_CXSMICON));
    }
    EXPECT_LE(imageBytes, 10u * 1024u);
}

// Starts this test program again on the taskbar of a virtual desktop, for the
// cases below.
TEST(NotifyIconOnTaskbar, RunsItsCasesOnAVirtualDesktop)
{
    zvdrive::VirtualDesktop desktop(L"ZvNotifyIcon");
    ASSERT_TRUE(desktop.WaitForTaskbar(milliseconds(10000))) << "no taskbar on a virtual desktop";
    const std::optional<DWORD> code = desktop.RunSelf("NotifyIconOnDesktop.*", kOnDesktop, milliseconds(90000));
    ASSERT_TRUE(code.has_value()) << "the cases on the virtual desktop did not end in 90 s";
    EXPECT_EQ(*code, 0u) << "a case on the virtual desktop failed; see its output above";
}

// Runs messages until `done` holds or the time is up.
template <class F>
bool PumpUntil(F done, DWORD timeoutMs = 5000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
}

bool Shows(StateId state)
{
    return PumpUntil([&] { return FindOnTaskbar(kStates[state].fill).has_value(); });
}

bool Gone(StateId state)
{
    return PumpUntil([&] { return !FindOnTaskbar(kStates[state].fill).has_value(); });
}

HWND VisibleWindowOfClass(const wchar_t* className)
{
    HWND found = nullptr;
    for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w && !found;
         w = FindWindowExW(nullptr, w, className, nullptr))
        if (IsWindowVisible(w))
            found = w;
    return found;
}

// The cases that need a taskbar: a hidden top-level owner that keeps the
// callback messages it gets, and the state pictures at the small-icon size.
class NotifyIconOnDesktop : public testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv(kOnDesktop))
            GTEST_SKIP() << "runs on a virtual desktop, started by NotifyIconOnTaskbar";
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = OwnerProc;
        windowClass.lpszClassName = L"ZvNotifyIconOwner";
        RegisterClassW(&windowClass);
        owner_.Reset(CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     nullptr, nullptr));
        ASSERT_NE(owner_.Get(), nullptr);
        ASSERT_TRUE(shipped_);
        for (const State& state : kStates)
            pictures_.push_back(tk::LoadSmallIcon(shipped_.Get(), state.name));
        callbacks.clear();
    }

    HICON Picture(StateId state) const { return pictures_[state].Get(); }
    HWND Owner() const { return owner_.Get(); }

public:
    static inline std::vector<std::pair<WPARAM, LPARAM>> callbacks;

private:
    static LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message != kCallback)
            return DefWindowProcW(window, message, wParam, lParam);
        callbacks.push_back({wParam, lParam});
        return 0;
    }

    tk::Module shipped_ = LoadShipped();
    tk::Window owner_;
    std::vector<tk::Icon> pictures_;
};

TEST_F(NotifyIconOnDesktop, ShowsEveryStateChangesPictureAndGoes)
{
    {
        std::vector<std::unique_ptr<tk::NotifyIcon>> icons;
        for (StateId state : {kIdle, kUp, kUnstable, kDown}) {
            icons.push_back(std::make_unique<tk::NotifyIcon>(Owner(), 10 + state, kCallback));
            EXPECT_TRUE(icons.back()->Show(Picture(state), kStates[state].name));
        }
        for (StateId state : {kIdle, kUp, kUnstable, kDown})
            EXPECT_TRUE(Shows(state)) << kStates[state].name;
        zvdrive::Screenshot("notify-icon-states");

        icons.resize(1);
        EXPECT_TRUE(Gone(kUp) && Gone(kUnstable) && Gone(kDown));
        EXPECT_TRUE(icons[0]->SetIcon(Picture(kDown)));
        EXPECT_TRUE(Shows(kDown));
        EXPECT_TRUE(Gone(kIdle));
    }
    EXPECT_TRUE(Gone(kDown)) << "removed when it goes";
}

TEST_F(NotifyIconOnDesktop, CutsALongTipAndShowsABalloon)
{
    tk::NotifyIcon icon(Owner(), 1, kCallback);
    ASSERT_TRUE(icon.Show(Picture(kDown), std::wstring(300, L'x')));
    EXPECT_EQ(icon.Tip().size(), tk::NotifyIcon::kTipLength);
    // A character outside the basic plane is never cut in half.
    std::wstring tip = std::wstring(126, L'a') + L"\xD83D\xDCE1" + L"b";
    EXPECT_TRUE(icon.SetTip(tip));
    EXPECT_EQ(icon.Tip(), tip.substr(0, 126));

    EXPECT_EQ(VisibleWindowOfClass(L"tooltips_class32"), nullptr);
    EXPECT_TRUE(icon.ShowBalloon(L"203.0.113.40 is down", L"No reply since 14:02:31 (3 failures: time-out)",
                                 tk::NotifyIcon::BalloonKind::Warning));
    EXPECT_TRUE(PumpUntil([] { return VisibleWindowOfClass(L"tooltips_class32") != nullptr; }))
        << "no balloon";
    zvdrive::Screenshot("notify-icon-balloon");
    icon.Remove();
    EXPECT_FALSE(icon.ShowBalloon(L"t", L"not shown", tk::NotifyIcon::BalloonKind::Info));
}

// Clicks the icon at `at`; the events the owner decodes until `last`, mouse
// moves left out. Each carries the point to open a menu at: the icon's.
std::vector<UINT> Click(const tk::NotifyIcon& icon, POINT at, DWORD down, DWORD up, UINT last)
{
    NotifyIconOnDesktop::callbacks.clear();
    SetCursorPos(at.x, at.y);
    INPUT clicks[2]{};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = down;
    clicks[1].mi.dwFlags = up;
    SendInput(2, clicks, sizeof(INPUT));
    std::vector<UINT> messages;
    PumpUntil([&] {
        messages.clear();
        for (auto [wParam, lParam] : NotifyIconOnDesktop::callbacks) {
            const tk::NotifyIcon::Event event = icon.Decode(wParam, lParam);
            EXPECT_NEAR(event.anchor.x, at.x, 16);
            EXPECT_NEAR(event.anchor.y, at.y, 16);
            if (event.message != WM_MOUSEMOVE)
                messages.push_back(event.message);
        }
        return !messages.empty() && messages.back() == last;
    });
    return messages;
}

TEST_F(NotifyIconOnDesktop, ClicksReachTheOwnerInTheFormTheShellAgreedTo)
{
    tk::NotifyIcon icon(Owner(), 2, kCallback);
    ASSERT_TRUE(icon.Show(Picture(kUp), L"up"));
    std::optional<POINT> at;
    ASSERT_TRUE(PumpUntil([&] { return (at = FindOnTaskbar(kStates[kUp].fill)).has_value(); }));
    EXPECT_EQ(icon.Version(), static_cast<UINT>(NOTIFYICON_VERSION_4));
    EXPECT_EQ(Click(icon, *at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, NIN_SELECT),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT}));
    EXPECT_EQ(Click(icon, *at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, WM_CONTEXTMENU),
              (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}));
    SetCursorPos(0, 0);
}

TEST_F(NotifyIconOnDesktop, RestoreAddsItAgainAfterTheShellLostIt)
{
    tk::NotifyIcon icon(Owner(), 3, kCallback);
    ASSERT_TRUE(icon.Show(Picture(kUnstable), L"unstable"));
    ASSERT_TRUE(Shows(kUnstable));
    EXPECT_TRUE(icon.Restore()) << "while the shell still has it";

    NOTIFYICONDATAW lost{};
    lost.cbSize = sizeof lost;
    lost.hWnd = Owner();
    lost.uID = 3;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &lost));
    ASSERT_TRUE(Gone(kUnstable));
    EXPECT_TRUE(icon.Restore());
    EXPECT_TRUE(Shows(kUnstable));
    EXPECT_TRUE(tk::NotifyIcon::AllowTaskbarCreated(Owner()));
}

} // namespace

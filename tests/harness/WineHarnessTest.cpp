// Guards the test set-up: every later window test needs a desktop that can
// create, size and paint a real window.
#include <windows.h>

#include <gtest/gtest.h>

TEST(WineHarness, DesktopCanHostAPaintedWindow)
{
    HWND w = CreateWindowExA(0, "STATIC", "probe", WS_POPUP | WS_VISIBLE, 10, 10, 64, 32,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    RECT r{};
    ASSERT_TRUE(GetClientRect(w, &r));
    EXPECT_EQ(r.right, 64);
    EXPECT_EQ(r.bottom, 32);
    HDC dc = GetDC(w);
    ASSERT_NE(dc, nullptr);
    EXPECT_GT(GetDeviceCaps(dc, BITSPIXEL), 8);
    ReleaseDC(w, dc);
    DestroyWindow(w);
}

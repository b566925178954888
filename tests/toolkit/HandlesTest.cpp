// The Win32 owning handles release what they own, exactly when they go.
#include <windows.h>

#include <gtest/gtest.h>

#include "toolkit/Handles.h"

namespace {

TEST(Handles, GdiObjectsAreDeletedWithTheirOwner)
{
    HFONT font;
    HBRUSH brush;
    HBITMAP bitmap;
    HRGN region;
    {
        tk::Font f = tk::CreateFontPt("MS Sans Serif", 8, true);
        tk::Brush b(CreateSolidBrush(RGB(1, 2, 3)));
        tk::ClientDC screen(nullptr);
        tk::Bitmap m(CreateCompatibleBitmap(screen.Get(), 4, 4));
        tk::Region r(CreateRectRgn(0, 0, 10, 10));
        font = f.Get();
        brush = b.Get();
        bitmap = m.Get();
        region = r.Get();
        EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
        EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
        EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
        EXPECT_EQ(GetObjectType(region), static_cast<DWORD>(OBJ_REGION));
    }
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(GetObjectType(region), 0u);
}

TEST(Handles, WindowsDeviceContextsAndSelectionsAreUndone)
{
    HWND raw;
    {
        tk::Window window(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
        raw = window.Get();
        ASSERT_TRUE(IsWindow(raw));
        tk::ClientDC screen(raw);
        tk::MemoryDC dc(CreateCompatibleDC(screen.Get()));
        tk::Brush brush(CreateSolidBrush(RGB(9, 9, 9)));
        HGDIOBJ before = GetCurrentObject(dc.Get(), OBJ_BRUSH);
        {
            tk::SelectScope select(dc.Get(), brush.Get());
            EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush.Get());
        }
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), before);
    }
    EXPECT_FALSE(IsWindow(raw));
}

TEST(Handles, ModulesAreFreed)
{
    const char* dll = "msimg32.dll";
    ASSERT_EQ(GetModuleHandleA(dll), nullptr) << "pick a library nothing here loads";
    {
        tk::Module module(LoadLibraryA(dll));
        ASSERT_TRUE(module);
        EXPECT_EQ(GetModuleHandleA(dll), module.Get());
    }
    EXPECT_EQ(GetModuleHandleA(dll), nullptr);
}

} // namespace

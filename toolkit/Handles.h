// The owning handles of the Win32 layer (UniqueHandle with Win32 traits) and
// the scoped device-context helpers. Borrowed handles stay raw.
#pragma once

#include <windows.h>

#include "toolkit/UniqueHandle.h"

namespace tk {

template <class T>
struct GdiObjectTraits {
    using Type = T;
    static T Invalid() { return nullptr; }
    static void Close(T h) { DeleteObject(h); }
};

struct ModuleTraits {
    using Type = HMODULE;
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};

struct WindowTraits {
    using Type = HWND;
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) { DestroyWindow(h); }
};

struct IconTraits {
    using Type = HICON;
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};

struct MemoryDCTraits {
    using Type = HDC;
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

using Font = UniqueHandle<GdiObjectTraits<HFONT>>;
using Brush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using Pen = UniqueHandle<GdiObjectTraits<HPEN>>;
using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using Region = UniqueHandle<GdiObjectTraits<HRGN>>;
using Module = UniqueHandle<ModuleTraits>;
using Window = UniqueHandle<WindowTraits>;
using Icon = UniqueHandle<IconTraits>;
using MemoryDC = UniqueHandle<MemoryDCTraits>;
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// GetDC/ReleaseDC of one window (or of the screen for a null window).
class ClientDC {
public:
    explicit ClientDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ClientDC() { ReleaseDC(window_, dc_); }
    ClientDC(const ClientDC&) = delete;
    ClientDC& operator=(const ClientDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint for WM_PAINT.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
    ~PaintDC() { EndPaint(window_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectScope() { SelectObject(dc_, old_); }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// SaveDC/RestoreDC around drawing that changes clipping or modes.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
    ~SavedDC() { RestoreDC(dc_, id_); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int id_;
};

// A font of the given face and size in points, at `dpi` (0: the screen's).
Font CreateFontPt(const char* face, int points, bool bold = false, bool underline = false, int dpi = 0);

// One of the system's cursors (IDC_ARROW, ...), loaded on first use. Every
// load gives the same shared handle, but under Wine each one also asks the
// server about the display. GUI thread only.
HCURSOR SystemCursor(LPCSTR id);

} // namespace tk

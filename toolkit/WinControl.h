// WinControl: a control with a window of its own (a standard control, or one
// of our own classes through CustomControl). Owns its HWND, destroying it
// with itself. Its parent reflects the notifications about it (WM_COMMAND,
// WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*, WM_[HV]SCROLL) back
// to it, found by window or, before the window exists, by control id. A
// wrapper of a standard control can subclass its window (SubclassProc).
// A test driver asks for the control's name (toolkit/DriverProtocol.h).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "toolkit/Component.h"
#include "toolkit/Geometry.h"
#include "toolkit/Scale.h"

namespace tk {

class WinControl : public Component {
public:
    WinControl(Component* owner, WinControl* parent);
    ~WinControl() override;

    HWND Handle() const { return handle_; }
    WinControl* Parent() const { return parent_; }
    // The child-window id; 0 for top-level windows.
    int Id() const { return id_; }
    // The control whose window this is, or null for windows not ours.
    static WinControl* FromHandle(HWND window);
    // The control with this child-window id, also while its window is being created.
    static WinControl* FromId(int id);

    // The parent's side of reflection: hands a notification about a child
    // control to that control's object. True if it took it; `result` is then
    // what the parent's window procedure returns.
    static bool ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The answer to a driver's name query about a window of this process:
    // a new global atom holding its control's name, or 0.
    static LRESULT AnswerNameQuery(HWND window);

    std::string Text() const;
    void SetText(const std::string& text);

    // In the parent's client coordinates (the screen's for top-level windows),
    // in pixels.
    Rect Bounds() const;
    void SetBounds(Rect bounds);

    // From the 96-dpi design values to this window's pixels: the DPI of the
    // top-level window it lies in.
    Scale Scaling() const { return parent_ ? parent_->Scaling() : Scale(dpi_); }
    // The bounds it was created with, in design values; kept so a change of
    // DPI can place it again.
    Rect DesignBounds() const { return design_; }
    // After a change of DPI: back to the scaled design bounds. Controls with
    // sizes of their own inside (columns, item heights) scale those too.
    virtual void ApplyScale();

    bool Visible() const { return handle_ && IsWindowVisible(handle_); }
    void SetVisible(bool visible);
    bool Enabled() const { return handle_ && IsWindowEnabled(handle_); }
    void SetEnabled(bool enabled);
    void SetFocus();

    // The font is borrowed: its owner keeps it alive while the control uses it.
    void SetFont(HFONT font);
    HFONT GetFont() const { return font_; }

    // Reflected notifications: WM_COMMAND's code, WM_NOTIFY's header.
    virtual void Command(unsigned code) { (void)code; }
    virtual LRESULT Notify(NMHDR& header)
    {
        (void)header;
        return 0;
    }
    // Owner drawing; false leaves the message to the parent's default.
    virtual bool DrawItem(DRAWITEMSTRUCT& item)
    {
        (void)item;
        return false;
    }
    virtual bool MeasureItem(MEASUREITEMSTRUCT& item)
    {
        (void)item;
        return false;
    }
    // WM_CTLCOLOR*: the brush to paint this control's background with, or
    // null for the default. The brush stays owned by the control.
    virtual HBRUSH CtlColor(HDC dc)
    {
        (void)dc;
        return nullptr;
    }
    // A window this control lies in is being shown (the control may come
    // into sight): work put off while hidden can be done now. Called once
    // after each AwaitAncestorShown.
    virtual void AncestorShown() {}
    // Called by a window as it is shown: tells the controls that wait inside it.
    static void TellShownInside(const WinControl* shown);
    // WM_HSCROLL/WM_VSCROLL from a scroll bar, track bar or up-down control.
    virtual void Scroll(unsigned code, int position)
    {
        (void)code;
        (void)position;
    }

protected:
    // Creates the window of a standard control class as a child of the
    // parent, at `bounds` (design values) scaled.
    void CreateHandle(const char* className, const std::string& text, DWORD style, DWORD exStyle, Rect bounds);
    // The same, created at `placed` pixels rather than the design scaled.
    void CreateHandle(const char* className, const std::string& text, DWORD style, DWORD exStyle, Rect design,
                      Rect placed);
    // For our own classes: the window procedure attaches at WM_NCCREATE and
    // detaches at WM_NCDESTROY.
    void Attach(HWND window);
    void Detach();
    // Frees the owned components while this object and its window are whole.
    void DestroyOwned();
    HWND ParentHandle() const { return parent_ ? parent_->Handle() : nullptr; }
    // Top-level windows: the DPI their children are scaled to.
    void SetDpi(int dpi) { dpi_ = dpi; }
    // Keeps the design bounds and gives them scaled.
    Rect ScaledDesign(Rect design)
    {
        design_ = design;
        hasDesign_ = true;
        return Scaling()(design);
    }
    // Asks for one AncestorShown call when a window this control lies in is
    // next shown. Kept in the process: walking the window tree on every show
    // would be a server call per window under Wine.
    void AwaitAncestorShown();
    // Takes a child-window id and registers this control under it, so that
    // messages sent during creation (WM_MEASUREITEM) find it. Call before
    // creating the window; the id lasts as long as the control.
    int ReserveId();

    // Sends every message of this control's window to SubclassProc first
    // (our procedure put in front of the window's). Guarded like every
    // window procedure; removed again at WM_NCDESTROY.
    void SubclassWindow();
    // The default reflects notifications about this window's own child
    // controls, then calls the original procedure.
    virtual LRESULT SubclassProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's procedure as it was before SubclassWindow.
    LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    WinControl* parent_;
    HWND handle_ = nullptr;
    HFONT font_ = nullptr;
    int id_ = 0;
    bool subclassed_ = false;
    int dpi_ = kDesignDpi;
    Rect design_;
    bool hasDesign_ = false;
};

} // namespace tk

// CustomControl: a window of one of our own classes. Its one static window
// procedure finds the object (attached at WM_NCCREATE, dropped at
// WM_NCDESTROY) and calls WindowProc inside Guarded, which turns each message
// into one typed handler call (OnSize, OnMouseDown, OnCommand, ...). It hosts
// windowless controls: paints them back to front over its background, gives
// mouse presses, clicks and the cursor to the front-most one under the
// pointer, and tells the test driver about them by name (GraphicQuery).
// It owns a back buffer of its client size, rebuilt on WM_SIZE and redrawn
// only after Invalidate. Forms, panels and tab pages derive from it; child
// ones are control parents, so Tab walks into them. It answers an
// accessibility client for its windowless controls (AccessibleObject) and
// tells it when their text changes. GUI thread only.
#pragma once

#include <windows.h>

#include <vector>

#include "toolkit/AccessibleItem.h"
#include "toolkit/Events.h"
#include "toolkit/Handles.h"
#include "toolkit/WinControl.h"
#include "toolkit/ZOrder.h"

namespace tk {

class GraphicControl;

class CustomControl : public WinControl {
public:
    CustomControl(Component* owner, WinControl* parent);
    ~CustomControl() override;

    const ZOrder<GraphicControl>& Graphics() const { return graphics_; }
    ZOrder<GraphicControl>& Graphics() { return graphics_; }
    // Called by GraphicControl as it comes and goes.
    void AddGraphic(GraphicControl* control);
    void RemoveGraphic(GraphicControl* control);

    // The one painting function: the background, then the windowless
    // controls back to front, each clipped to its bounds. Used for the
    // back buffer and for any other DC.
    virtual void PaintTo(HDC dc);

    // Marks the picture (or an area of it) for redrawing and asks for a
    // paint. The back buffer is redrawn only after one of these, and only in
    // the marked areas: a plain InvalidateRect only copies the picture again.
    void Invalidate();
    void Invalidate(const Rect& area);

    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    // A top-level window whose colours stay as drawn in high contrast (a
    // skin); the others then take the system's (SystemColors).
    bool KeepsOwnColors() const { return keepsOwnColors_; }
    void SetKeepsOwnColors(bool keep) { keepsOwnColors_ = keep; }

    // Hands this window's mouse messages to a tooltip (TTM_RELAYEVENT), as
    // its own subclassing would, but without the common controls' subclass
    // chain, which costs a server call per message under Wine.
    void RelayMouseTo(HWND tip);

    // The windowless controls an accessibility client is told about, in
    // reading order (the order set, else the order of creation), those with
    // a role only, and what it is told of each. A control's child id is its
    // place there, from 1.
    std::vector<GraphicControl*> AccessibleGraphics() const;
    std::vector<AccessibleEntry> DescribeGraphics() const;
    void SetReadingOrder(std::vector<GraphicControl*> order) { readingOrder_ = std::move(order); }
    // The windowless control that has the keyboard focus while this window
    // has it; only forms keep one.
    virtual GraphicControl* FocusedGraphic() const { return nullptr; }
    virtual void FocusGraphic(GraphicControl* control) { (void)control; }
    // A control's caption changed: accessibility clients are told, at most
    // once a second, so a reader can follow a run without being flooded.
    void GraphicTextChanged(GraphicControl* control);
    // Clicks a control from the message queue: a client's call must not
    // wait for whatever the click opens.
    void PostGraphicClick(int childId);

    // The cursor over this window where no windowless control sets one.
    HCURSOR Cursor() const { return cursor_; }
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
    // The cursor WM_SETCURSOR shows at a client point.
    HCURSOR CursorAt(Point p) const;

protected:
    // Registers the class on first use and creates the window; `parent`
    // is the owner window for top-level windows.
    void CreateCustom(const char* className, const std::string& text, DWORD style, DWORD exStyle, Rect bounds,
                      HWND parent);

    // Every message of the window; the default calls the typed handlers
    // below and reflects notifications to the child controls.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Typed handlers; points are in client coordinates, `keys` are MK_* flags.
    virtual void OnSize(int cx, int cy);
    // The defaults route the mouse to the windowless controls.
    virtual void OnMouseDown(MouseButton button, Point p, unsigned keys);
    virtual void OnMouseUp(MouseButton button, Point p, unsigned keys);
    virtual void OnMouseMove(Point p, unsigned keys);
    virtual void OnCaptureChanged();
    // Commands no child control took: menus, accelerators, foreign controls.
    virtual void OnCommand(int id, unsigned code);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnKeyDown(unsigned vk, unsigned flags);
    virtual void OnChar(unsigned ch, unsigned flags);
    virtual void OnSetFocus(HWND previous);
    virtual void OnKillFocus(HWND next);
    // True: the background counts as erased (the default, as WM_PAINT paints all).
    virtual bool OnEraseBkgnd(HDC dc);
    // `area` is the part to paint; the default copies it from the back buffer.
    virtual void OnPaint(HDC dc, const RECT& area);

    // A press on the window where no windowless control lies.
    virtual void MouseDown(MouseButton button, Point p, unsigned keys);

    // True once after each Invalidate (and after a size change): the picture must be redrawn.
    bool TakeNeedsDraw();
    void MarkAllDirty();

private:
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool DispatchMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void RelayMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Resize(int cx, int cy);
    bool OnSetCursor(HWND window, UINT hitTest);
    LRESULT AnswerGraphicQuery(HWND asker, const COPYDATASTRUCT& request);
    // Colours changed: a top-level window tells the windows inside it, as
    // only top-level ones hear it from the system, and paints all again.
    void SystemColorsChanged();
    // WM_GETOBJECT, the events' timer and the posted clicks; false for other messages.
    bool AccessibilityMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void SendGraphicEvents();

    ZOrder<GraphicControl> graphics_;
    GraphicControl* pressed_ = nullptr;
    COLORREF color_;
    Brush colorBrush_;
    bool colorSet_ = false;
    bool keepsOwnColors_ = false;
    HCURSOR cursor_;
    // Destroyed in this order: the DC before the bitmap selected into it.
    Bitmap bufferBitmap_;
    MemoryDC buffer_;
    // The part of the back buffer to draw again; empty: none.
    RECT dirty_;
    // A paint of the whole window is asked for and has not come yet.
    bool wholeInvalidated_ = false;
    std::vector<HWND> mouseTips_;
    std::vector<GraphicControl*> readingOrder_;
    // Controls whose change clients have not been told of yet.
    std::vector<GraphicControl*> changed_;
    DWORD lastEventTick_ = 0;
    bool eventTimerArmed_ = false;
};

} // namespace tk

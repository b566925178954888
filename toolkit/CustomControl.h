// CustomControl: a window of one of our own classes. Its one static window
// procedure finds the object (attached at WM_NCCREATE, dropped at
// WM_NCDESTROY) and calls WindowProc inside Guarded. It hosts windowless
// controls: paints them back to front over its background, gives mouse
// presses, clicks and the cursor to the front-most one under the pointer, and
// tells the test driver about them by name (GraphicQuery).
// Forms, panels and tab pages derive from it. GUI thread only.
#pragma once

#include <windows.h>

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
    // screen (through a back buffer) and for any other DC.
    void PaintTo(HDC dc);

    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);

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

    // Every message of the window; the default dispatches to the handlers below.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // A press on the window where no windowless control lies.
    virtual void MouseDown(MouseButton button, Point p, unsigned keys);

private:
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnButtonDown(MouseButton button, LPARAM lParam, WPARAM keys);
    void OnButtonUp(MouseButton button, LPARAM lParam, WPARAM keys);
    bool OnSetCursor(HWND window, UINT hitTest);
    LRESULT ReflectCommand(WPARAM wParam, LPARAM lParam);
    LRESULT ReflectNotify(LPARAM lParam);
    LRESULT AnswerGraphicQuery(WPARAM size, LPARAM address);

    ZOrder<GraphicControl> graphics_;
    GraphicControl* pressed_ = nullptr;
    COLORREF color_;
    Brush colorBrush_;
    HCURSOR cursor_;
};

} // namespace tk

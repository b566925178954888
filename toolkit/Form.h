// Form: a top-level window that owns its components. Created hidden; the
// first form the application creates is the main form, and closing it ends
// the loop, while closing any other form only hides it. FormCreate and
// FormDestroy run guarded: an error in them is shown and the rest of that
// handler is skipped. It handles the dialog keys of the controls inside it:
// Tab and Shift+Tab, and Enter for the default or the focused push button.
// It is laid out at the DPI of its monitor and follows WM_DPICHANGED: its
// fonts are made again and its controls placed at their scaled design bounds.
// Windowless controls can be Tab stops too (FormFocus.cpp): a form whose
// own window has the focus moves it among them with Tab, clicks the focused
// one with Enter or Space, and marks it once the keyboard has been used.
// GUI thread only.
#pragma once

#include <string>
#include <vector>

#include "toolkit/CustomControl.h"
#include "toolkit/Handles.h"

namespace tk {

class Button;
class GraphicControl;

enum class BorderStyle { None, Sizeable };

class Form : public CustomControl {
public:
    // Creates the window of class `className` (registered on first use) with
    // a sizeable frame, hidden, owned by the main form if there is one; at
    // `clientSize` (design values) where one is given, as SetClientSize would.
    Form(Component* owner, const char* className, SIZE clientSize = {});
    ~Form() override;

    // Runs FormDestroy, frees the components, then the form.
    static void Free(Form* form);
    void DoCreate();
    void DoDestroy();

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }

    // Keeps the client area's size.
    void SetBorderStyle(BorderStyle style);
    // In design values (96 dpi), scaled to the form's DPI.
    void SetClientSize(int width, int height);
    // The outer size around a client area of this many pixels, at the form's DPI.
    SIZE OuterSize(int clientWidth, int clientHeight) const;
    // What the frame adds to the client area at a DPI.
    SIZE FrameSize(int dpi) const;
    // The same for a form as it is made (sizeable), before it has a window.
    static SIZE SizeableFrameSize(int dpi);

    // A font of the form at its DPI, made on first use; the form keeps it and
    // makes it again, handing the new one to every control that used it,
    // when the DPI changes.
    HFONT ScaledFont(const char* face, int points, bool bold = false, bool underline = false);
    // Lays the form out for another DPI (what WM_DPICHANGED does, the window's
    // own size aside).
    void ChangeDpi(int dpi);
    // Centred on the screen the first time the form is shown.
    void SetCenterOnFirstShow(bool center) { centerOnFirstShow_ = center; }

    void Show();
    void Hide() { SetVisible(false); }
    void ShowMaximized();
    void ShowMinimizedNoActivate();
    void Close();

    // The button Enter presses while the focus is on any control other than
    // a push button; it gets the default button's look. Null for none.
    void SetDefaultButton(Button* button);
    // The button Escape presses. Null for none.
    void SetCancelButton(Button* button);
    // Tab, Shift+Tab, Enter and Escape of a key message for a window inside
    // this form (and its shortcut keys), taken before it is translated; true
    // if it was taken. Controls that want the key (WM_GETDLGCODE) keep it.
    bool DialogKey(const MSG& message);

    // Among the windowless controls that are Tab stops, in reading order.
    GraphicControl* FocusedGraphic() const override;
    void FocusGraphic(GraphicControl* control) override;
    // The mark around the focused windowless control: a line with an edge
    // around it, so it shows on light and dark; in high contrast both take
    // the system's highlight colour.
    void SetFocusMarkColors(COLORREF line, COLORREF edge);
    void PaintTo(HDC dc) override;
    // The focusable controls in Tab order: creation order, walking into
    // visible, enabled control parents (panels, group boxes, tab pages).
    std::vector<HWND> TabStops() const;

protected:
    virtual void FormCreate() {}
    virtual void FormDestroy() {}
    // After ChangeDpi has made the fonts again and placed the controls at
    // their scaled design bounds: what the form lays out itself.
    virtual void OnDpiChanged() {}
    // WM_CLOSE: the main form ends the loop, any other only hides.
    virtual void OnClose();
    // Where the focus mark rings a control, and how round its corners are
    // (the ellipse's size, as RoundRect takes it); by default 3 design
    // pixels out from the control.
    struct FocusMarkShape {
        Rect area;
        int corner = 0;
    };
    virtual FocusMarkShape FocusMarkOf(const GraphicControl& control) const;
    // A key pressed anywhere in the form, before the dialog keys: true if
    // the form took it.
    virtual bool ShortcutKey(unsigned vk)
    {
        (void)vk;
        return false;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct ScaledFontEntry {
        const char* face; // the callers' literals
        int points = 0;
        bool bold = false;
        bool underline = false;
        Font font;
    };

    void PlaceForFirstShow();
    // The top-left corner of a window of this size in the screen's centre.
    static POINT CentredOrigin(SIZE outer);
    void MoveFocus(bool backwards);
    // FormFocus.cpp: the windowless Tab stops.
    std::vector<GraphicControl*> GraphicStops() const;
    bool GraphicKey(WPARAM key, LPARAM flags);
    void MoveGraphicFocus(bool backwards);
    // EVENT_OBJECT_FOCUS for a reader.
    void TellFocus(const GraphicControl& control);
    void FocusMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool FocusMarkShown() const;
    void ShowFocusCues();
    void SetClientPixels(int width, int height);

    BorderStyle borderStyle_ = BorderStyle::Sizeable;
    bool centerOnFirstShow_ = false;
    bool shownBefore_ = false;
    // Where SetClientPixels last put the form to centre it.
    RECT centredAt_{};
    std::vector<ScaledFontEntry> fonts_;
    HWND defaultButton_ = nullptr;
    HWND cancelButton_ = nullptr;
    GraphicControl* focusedGraphic_ = nullptr;
    // As Windows does (UISF_HIDEFOCUS): no mark until the keyboard is used.
    bool focusCuesHidden_ = true;
    COLORREF markLine_ = CLR_INVALID;
    COLORREF markEdge_ = CLR_INVALID;
};

} // namespace tk

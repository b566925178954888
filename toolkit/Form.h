// Form: a top-level window that owns its components. Created hidden; the
// first form the application creates is the main form, and closing it ends
// the loop, while closing any other form only hides it. FormCreate and
// FormDestroy run guarded: an error in them is shown and the rest of that
// handler is skipped. It handles the dialog keys of the controls inside it:
// Tab and Shift+Tab, and Enter for the default or the focused push button.
// GUI thread only.
#pragma once

#include <string>
#include <vector>

#include "toolkit/CustomControl.h"
#include "toolkit/Handles.h"

namespace tk {

class Button;

enum class BorderStyle { None, Sizeable };

class Form : public CustomControl {
public:
    // Creates the window of class `className` (registered on first use) with
    // a sizeable frame, hidden, owned by the main form if there is one.
    Form(Component* owner, const char* className);
    ~Form() override;

    // Runs FormDestroy, frees the components, then the form.
    static void Free(Form* form);
    void DoCreate();
    void DoDestroy();

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }

    // Keeps the client area's size.
    void SetBorderStyle(BorderStyle style);
    void SetClientSize(int width, int height);
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
    // Tab, Shift+Tab and Enter of a key message for a window inside this
    // form, taken before it is translated; true if it was taken. Controls
    // that want the key (WM_GETDLGCODE) keep it.
    bool DialogKey(const MSG& message);
    // The focusable controls in Tab order: creation order, walking into
    // visible, enabled control parents (panels, group boxes, tab pages).
    std::vector<HWND> TabStops() const;

protected:
    virtual void FormCreate() {}
    virtual void FormDestroy() {}
    // WM_CLOSE: the main form ends the loop, any other only hides.
    virtual void OnClose();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PlaceForFirstShow();
    void MoveFocus(bool backwards);

    BorderStyle borderStyle_ = BorderStyle::Sizeable;
    bool centerOnFirstShow_ = false;
    bool shownBefore_ = false;
    Font font_;
    HWND defaultButton_ = nullptr;
};

} // namespace tk

// WinControl: a control with a window of its own (a standard control, or one
// of our own classes through CustomControl). Owns its HWND, destroying it
// with itself; its parent reflects WM_COMMAND and WM_NOTIFY back to it.
// The control's name is published on its window so a test driver can find it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "toolkit/Component.h"
#include "toolkit/Geometry.h"

namespace tk {

class WinControl : public Component {
public:
    WinControl(Component* owner, WinControl* parent);
    ~WinControl() override;

    HWND Handle() const { return handle_; }
    WinControl* Parent() const { return parent_; }
    // The control whose window this is, or null for windows not ours.
    static WinControl* FromHandle(HWND window);

    // Also published as the window property "tk.Name" (a global atom).
    void SetName(std::string name);

    std::string Text() const;
    void SetText(const std::string& text);

    // In the parent's client coordinates (the screen's for top-level windows).
    Rect Bounds() const;
    void SetBounds(Rect bounds);

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

protected:
    // Creates the window of a standard control class as a child of the parent.
    void CreateHandle(const char* className, const std::string& text, DWORD style, DWORD exStyle, Rect bounds);
    // For our own classes: the window procedure attaches at WM_NCCREATE and
    // detaches at WM_NCDESTROY.
    void Attach(HWND window);
    void Detach();
    // Frees the owned components while this object and its window are whole.
    void DestroyOwned();
    HWND ParentHandle() const { return parent_ ? parent_->Handle() : nullptr; }

private:
    void PublishName();

    WinControl* parent_;
    HWND handle_ = nullptr;
    HFONT font_ = nullptr;
    ATOM nameAtom_ = 0;
};

} // namespace tk

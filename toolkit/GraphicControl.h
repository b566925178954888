// GraphicControl: a windowless control, a plain object owned by its form and
// drawn on its parent's surface. It has bounds in the parent's client
// coordinates, its own cursor and click event; the parent paints it back to
// front and routes the mouse to it front to back (see CustomControl). It
// tells an accessibility client its role and name (AccessibleObject) and
// can be a Tab stop of its form (FormFocus.cpp).
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/AccessibleItem.h"
#include "toolkit/Events.h"
#include "toolkit/Geometry.h"

namespace tk {

class CustomControl;

class GraphicControl : public Component {
public:
    // Goes in front of the parent's other windowless controls.
    GraphicControl(Component* owner, CustomControl* parent, Rect bounds);
    ~GraphicControl() override;

    CustomControl* Parent() const { return parent_; }

    // In pixels; created at its design bounds (96 dpi) scaled to the parent's DPI.
    Rect Bounds() const { return bounds_; }
    void SetBounds(Rect bounds);
    // After a change of DPI: back to the design bounds, scaled.
    virtual void ApplyScale();
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    // Null: the parent's cursor.
    HCURSOR Cursor() const { return cursor_; }
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }

    void BringToFront();
    void SendToBack();
    // Asks the parent to repaint this control's area.
    void Invalidate();
    // Invalidates and repaints the area now, without waiting for the queue.
    void Repaint();

    // The text it shows, if any; what the test driver reads (GraphicQuery).
    virtual std::string Caption() const { return {}; }

    virtual bool Contains(Point p) const { return bounds_.Contains(p); }
    // Draws in the parent's coordinates; the DC is clipped to Bounds().
    virtual void Paint(HDC dc) { (void)dc; }
    virtual void MouseDown(MouseButton button, Point p, unsigned keys);
    virtual void MouseUp(MouseButton button, Point p, unsigned keys);
    // A left press and release on this control; raises OnClick.
    virtual void Click();

    // None keeps the control from accessibility clients.
    AccessibleRole Role() const { return role_; }
    void SetRole(AccessibleRole role) { role_ = role; }
    // What a client calls it; empty: its caption (see DescribeAccessibleItems).
    const std::string& AccessibleName() const { return accessibleName_; }
    void SetAccessibleName(std::string name) { accessibleName_ = std::move(name); }
    // The key that does what a click does, as a client reads it out ("Ctrl+R").
    const std::string& Shortcut() const { return shortcut_; }
    void SetShortcut(std::string keys) { shortcut_ = std::move(keys); }
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
    // Visible, enabled and a Tab stop.
    bool CanFocus() const { return tabStop_ && visible_ && enabled_; }

    NotifyEvent OnClick;
    // Raised on any button press over the control, before a click.
    std::function<void(Component* sender, MouseButton button, Point p)> OnMouseDown;

private:
    CustomControl* parent_;
    Rect design_;
    Rect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    HCURSOR cursor_ = nullptr;
    AccessibleRole role_ = AccessibleRole::None;
    std::string accessibleName_;
    std::string shortcut_;
    bool tabStop_ = false;
};

} // namespace tk

#include "toolkit/GraphicControl.h"

#include "toolkit/CustomControl.h"

namespace tk {

GraphicControl::GraphicControl(Component* owner, CustomControl* parent, Rect bounds)
    : Component(owner), parent_(parent), design_(bounds), bounds_(parent->Scaling()(bounds))
{
    parent_->AddGraphic(this);
    Invalidate();
}

GraphicControl::~GraphicControl()
{
    Invalidate();
    parent_->RemoveGraphic(this);
}

void GraphicControl::SetBounds(Rect bounds)
{
    // Laying out again to the same place (as every resize of the window
    // does) changes no pixel.
    if (bounds == bounds_)
        return;
    Invalidate();
    bounds_ = bounds;
    Invalidate();
}

void GraphicControl::ApplyScale()
{
    SetBounds(parent_->Scaling()(design_));
}

void GraphicControl::SetVisible(bool visible)
{
    if (visible_ == visible)
        return;
    visible_ = visible;
    Invalidate();
}

void GraphicControl::BringToFront()
{
    parent_->Graphics().BringToFront(this);
    Invalidate();
}

void GraphicControl::SendToBack()
{
    parent_->Graphics().SendToBack(this);
    Invalidate();
}

void GraphicControl::Invalidate()
{
    parent_->Invalidate(bounds_);
}

void GraphicControl::Repaint()
{
    Invalidate();
    if (parent_->Handle())
        UpdateWindow(parent_->Handle());
}

void GraphicControl::MouseDown(MouseButton button, Point p, unsigned keys)
{
    (void)keys;
    if (OnMouseDown)
        OnMouseDown(this, button, p);
}

void GraphicControl::MouseUp(MouseButton button, Point p, unsigned keys)
{
    (void)button;
    (void)p;
    (void)keys;
}

void GraphicControl::Click()
{
    if (OnClick)
        OnClick(this);
}

} // namespace tk

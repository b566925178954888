// Frame: the windowless outline a container draws behind its controls: a
// raised bevel (a panel) or an etched frame with its caption in the top
// edge (a group box). It never takes the mouse.
#pragma once

#include <string>

#include "toolkit/GraphicControl.h"

namespace tk {

enum class FrameKind { Bevel, Group };

class Frame : public GraphicControl {
public:
    Frame(Component* owner, CustomControl* parent, Rect bounds, FrameKind kind, std::string caption = {});

    std::string Caption() const override { return caption_; }
    bool Contains(Point) const override { return false; }
    void Paint(HDC dc) override;

private:
    FrameKind kind_;
    std::string caption_;
};

} // namespace tk

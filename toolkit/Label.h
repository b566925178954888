// Label: a windowless line of text on its parent's surface, in its own font
// and colour, left, centred or right in its bounds, with or without a
// background. AutoSize makes it as wide as its text.
#pragma once

#include <string>

#include "toolkit/GraphicControl.h"

namespace tk {

enum class Alignment { Left, Center, Right };

class Label : public GraphicControl {
public:
    Label(Component* owner, CustomControl* parent, Rect bounds, std::string text);

    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    std::string Caption() const override { return text_; }

    // Borrowed; null means the parent's font.
    void SetFont(HFONT font);
    HFONT Font() const { return font_; }
    void SetTextColor(COLORREF color);
    // Without a background the parent's surface shows through.
    void SetBackground(COLORREF color);
    void SetAlignment(Alignment alignment);
    Alignment GetAlignment() const { return alignment_; }
    void SetAutoSize(bool autoSize);

    void Paint(HDC dc) override;
    void ApplyScale() override;

protected:
    // The system colour (COLOR_*) of its text in high contrast.
    virtual int SystemTextColor() const;

private:
    HFONT EffectiveFont() const;
    void AdjustSize();

    std::string text_;
    HFONT font_ = nullptr;
    COLORREF textColor_;
    COLORREF background_ = 0;
    bool hasBackground_ = false;
    Alignment alignment_ = Alignment::Left;
    bool autoSize_ = false;
};

} // namespace tk

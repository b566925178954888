// Form's side of DPI changes: its fonts at its DPI, and laying it out again.
#include "toolkit/Form.h"

#include "toolkit/GraphicControl.h"
#include "toolkit/Label.h"

namespace tk {

namespace {

// Every control below `owner` that used a replaced font gets its successor.
void ReplaceFonts(Component& owner, const std::vector<std::pair<HFONT, HFONT>>& replaced)
{
    for (Component* c : owner.Owned()) {
        for (const auto& [before, after] : replaced) {
            if (auto* control = dynamic_cast<WinControl*>(c); control && control->GetFont() == before)
                control->SetFont(after);
            if (auto* label = dynamic_cast<Label*>(c); label && label->Font() == before)
                label->SetFont(after);
        }
        ReplaceFonts(*c, replaced);
    }
}

// The components a control owns first (a panel's frame), then the control,
// which may place them again.
void ApplyScaleBelow(Component& owner)
{
    for (Component* c : owner.Owned()) {
        ApplyScaleBelow(*c);
        if (auto* control = dynamic_cast<WinControl*>(c))
            control->ApplyScale();
        else if (auto* graphic = dynamic_cast<GraphicControl*>(c))
            graphic->ApplyScale();
    }
}
} // namespace

HFONT Form::ScaledFont(const char* face, int points, bool bold, bool underline)
{
    for (const ScaledFontEntry& f : fonts_)
        if (lstrcmpA(f.face, face) == 0 && f.points == points && f.bold == bold && f.underline == underline)
            return f.font.Get();
    fonts_.push_back({face, points, bold, underline, CreateFontPt(face, points, bold, underline, Scaling().Dpi())});
    return fonts_.back().font.Get();
}

void Form::ChangeDpi(int dpi)
{
    if (dpi <= 0 || dpi == Scaling().Dpi())
        return;
    SetDpi(dpi);
    // The old fonts live until every control has its new one.
    std::vector<Font> old;
    std::vector<std::pair<HFONT, HFONT>> replaced;
    for (ScaledFontEntry& f : fonts_) {
        Font fresh = CreateFontPt(f.face, f.points, f.bold, f.underline, dpi);
        replaced.emplace_back(f.font.Get(), fresh.Get());
        old.push_back(std::move(f.font));
        f.font = std::move(fresh);
    }
    for (const auto& [before, after] : replaced)
        if (GetFont() == before)
            SetFont(after);
    ReplaceFonts(*this, replaced);
    ApplyScaleBelow(*this);
    OnDpiChanged();
    Invalidate();
}

} // namespace tk

// BitBtn: a push button that draws itself with a small picture before its
// caption; the OK kind shows a green check mark. Owner-drawn: the Panel it
// lies on hands it WM_DRAWITEM. As the window's default button it wears the
// default button's dark outline.
#pragma once

#include "toolkit/Button.h"
#include "toolkit/Panel.h"

namespace tk {

enum class BitBtnKind { OK };

class BitBtn : public Button, public OwnerDrawn {
public:
    BitBtn(Component* owner, Panel* parent, Rect bounds, const std::string& caption, BitBtnKind kind = BitBtnKind::OK);

    bool IsDefault() const { return default_; }
    void SetDefault(bool isDefault);

    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    void DrawGlyph(HDC dc, int left, int middle, bool enabled) const;

    BitBtnKind kind_;
    bool default_ = false;
};

} // namespace tk

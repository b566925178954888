// BitBtn: a push button that draws itself with a small picture before its
// caption; the OK kind shows a green check mark. Owner-drawn (its parent
// reflects WM_DRAWITEM to it), so it draws the default button's dark
// outline itself when told it is the form's default button.
#pragma once

#include "toolkit/Button.h"

namespace tk {

enum class BitBtnKind { OK };

class BitBtn : public Button {
public:
    BitBtn(Component* owner, WinControl* parent, Rect bounds, const std::string& caption, BitBtnKind kind = BitBtnKind::OK);

    void SetDefault(bool isDefault);

    bool DrawItem(DRAWITEMSTRUCT& item) override;

private:
    void DrawGlyph(HDC dc, int left, int middle, bool enabled) const;

    BitBtnKind kind_;
    bool default_ = false;
};

} // namespace tk

#include "app/CoolForm.h"

#include "toolkit/Form.h"

namespace {

// SC_MOVE plus HTCAPTION: the system moves the window as if by its caption.
constexpr WPARAM kMoveByCaption = 0xF012;

} // namespace

void TRegionType::Set(tk::Region region)
{
    Forget();
    owned_ = std::move(region);
}

void TRegionType::Apply(HWND window)
{
    if (!owned_)
        return;
    HRGN region = owned_.Get();
    if (SetWindowRgn(window, region, TRUE))
        applied_ = owned_.Release();
}

void TRegionType::Forget()
{
    owned_.Reset();
    applied_ = nullptr;
}

TCoolForm::TCoolForm(tk::Component* owner, tk::CustomControl* parent)
    : tk::Image(owner, parent, {}), mask_(std::make_unique<TRegionType>(this))
{
    OnPictureChange = [this](tk::Component* sender) { SkinPictureChanged(sender); };
    // Decoration: nothing an accessibility client should read out.
    SetRole(tk::AccessibleRole::None);
    if (auto* form = dynamic_cast<tk::Form*>(parent))
        form->SetBorderStyle(tk::BorderStyle::None);
    SetTop(0);
    SetLeft(0);
    AlignToParent();
}

void TCoolForm::SetMask(std::unique_ptr<TRegionType> mask)
{
    if (!mask)
        return;
    mask_ = std::move(mask);
    mask_->SetOwner(this);
}

void TCoolForm::SetTop(int)
{
    tk::Rect b = Bounds();
    b.top = 0;
    SetBounds(b);
}

void TCoolForm::SetLeft(int)
{
    tk::Rect b = Bounds();
    b.left = 0;
    SetBounds(b);
}

void TCoolForm::SetWidth(int value)
{
    tk::Rect b = Bounds();
    b.width = value;
    SetBounds(b);
    AlignToParent();
}

void TCoolForm::SetHeight(int value)
{
    tk::Rect b = Bounds();
    b.height = value;
    SetBounds(b);
    AlignToParent();
}

void TCoolForm::ApplyScale()
{
    AlignToParent();
}

void TCoolForm::AlignToParent()
{
    RECT client{};
    GetClientRect(Parent()->Handle(), &client);
    SetBounds({0, 0, client.right, client.bottom});
}

void TCoolForm::ReadMask(TByteStream& stream)
{
    std::vector<std::uint8_t> data = ReadMask2(stream);
    // Checked before the system sees it: the record must fit its bytes.
    const auto rects = data.empty() ? std::nullopt : DecodeRegionData(data);
    if (!rects) {
        mask_->Forget();
        return;
    }
    // Stored for 96 dpi, like the skin: both are scaled with the same edges.
    if (const tk::Scale scale = Parent()->Scaling(); !scale.IsIdentity())
        data = EncodeRegionData(ScaleRegionRects(*rects, scale));
    mask_->Set(tk::Region(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                          reinterpret_cast<const RGNDATA*>(data.data()))));
    if (!designing_ && Parent()->Handle() && mask_->Handle())
        mask_->Apply(Parent()->Handle());
}

void TCoolForm::WriteMask(TByteStream& stream) const
{
    // An applied region belongs to the window: read the window's own copy.
    tk::Region copy;
    HRGN region = mask_->Handle();
    if (mask_->Applied()) {
        copy.Reset(CreateRectRgn(0, 0, 0, 0));
        region = copy && GetWindowRgn(Parent()->Handle(), copy.Get()) != ERROR ? copy.Get() : nullptr;
    }
    std::vector<std::uint8_t> data;
    if (region) {
        data.resize(GetRegionData(region, 0, nullptr));
        if (GetRegionData(region, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data())) == 0)
            data.clear();
    }
    WriteMask2(stream, data);
}

void TCoolForm::MouseDown(tk::MouseButton button, tk::Point, unsigned)
{
    if (button != tk::MouseButton::Left || !Draggable)
        return;
    ReleaseCapture();
    SendMessageA(Parent()->Handle(), WM_SYSCOMMAND, kMoveByCaption, 0);
}

void TCoolForm::SkinPictureChanged(tk::Component*)
{
    mask_->Forget();
}

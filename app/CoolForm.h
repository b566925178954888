// TCoolForm: the shaped skin. A picture control that fills its form's client
// area with the skin, makes the form borderless, cuts it to the stored
// "Mask2" outline (ReadMask) and moves it on a left press on bare skin.
// Owns its `Mask`; the region in it until it is applied, after which it
// belongs to the window. GUI thread only.
#pragma once

#include <memory>

#include "app/RegionData.h"
#include "toolkit/Image.h"

class TCoolForm;

// TRegionType: holds the outline region of one TCoolForm.
class TRegionType {
public:
    explicit TRegionType(TCoolForm* owner) : owner_(owner) {}

    TCoolForm* Owner() const { return owner_; }
    void SetOwner(TCoolForm* owner) { owner_ = owner; }
    // The region, owned or applied; null when there is none.
    HRGN Handle() const { return owned_ ? owned_.Get() : applied_; }
    bool Applied() const { return applied_ != nullptr; }
    // A region the holder owns until Apply.
    void Set(tk::Region region);
    // Makes the owned region the window's outline; the window owns it now.
    void Apply(HWND window);
    // No region any more; one still owned is freed, an applied one is the window's.
    void Forget();

private:
    TCoolForm* owner_;
    tk::Region owned_;
    HRGN applied_ = nullptr;
};

class TCoolForm : public tk::Image {
public:
    // Placed on `parent`: a form becomes borderless; any other control's frame is left alone.
    TCoolForm(tk::Component* owner, tk::CustomControl* parent);

    TRegionType* Mask() const { return mask_.get(); }
    // Takes the holder and becomes its owner; null changes nothing.
    void SetMask(std::unique_ptr<TRegionType> mask);

    // Read by the press: false keeps the window where it is.
    bool Draggable = true;

    // As in a form designer: ReadMask builds the region but does not apply it.
    bool Designing() const { return designing_; }
    void SetDesigning(bool designing) { designing_ = designing; }

    int top() const { return Bounds().top; }
    int left() const { return Bounds().left; }
    int width() const { return Bounds().width; }
    int height() const { return Bounds().height; }
    // Top and left always place the component at 0; width and height pass
    // the value on, and the alignment then fills the client area again.
    virtual void SetTop(int value);
    virtual void SetLeft(int value);
    virtual void SetWidth(int value);
    virtual void SetHeight(int value);
    // Fills the parent's client area; the form calls it when it is resized.
    void AlignToParent();

    void ReadMask(TByteStream& stream);
    void WriteMask(TByteStream& stream) const;

    void MouseDown(tk::MouseButton button, tk::Point p, unsigned keys) override;

private:
    void SkinPictureChanged(tk::Component* sender);

    std::unique_ptr<TRegionType> mask_;
    bool designing_ = false;
};

// TCoolForm on real windows: placement on a form and on other controls,
// position and size, the outline read from Mask2 and written back, design
// mode, a picture change, and which presses move the window.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/CoolForm.h"
#include "app/Mask2Data.h"
#include "tests/toolkit/AppFixture.h"

namespace {

// A child control of our own class, with a frame that must stay.
class FramedPanel : public tk::CustomControl {
public:
    FramedPanel(tk::Component* owner, tk::WinControl* parent) : tk::CustomControl(owner, parent)
    {
        CreateCustom("TkTestPanel", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, {5, 5, 100, 80}, parent->Handle());
    }
};

std::vector<std::uint8_t> WindowRegionData(HWND window)
{
    tk::Region region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(window, region.Get()) == ERROR)
        return {};
    std::vector<std::uint8_t> data(GetRegionData(region.Get(), 0, nullptr));
    GetRegionData(region.Get(), static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    return data;
}

std::vector<std::uint8_t> CompactPayload()
{
    return {Mask2, Mask2 + sizeof Mask2};
}

class CoolFormTest : public AppFixture {
protected:
    CoolFormTest()
    {
        app.CreateForm(form);
        form->SetClientSize(475, 265);
    }

    TCoolForm* Skin()
    {
        if (!skin)
            skin = new TCoolForm(form, form);
        return skin;
    }

    PlainForm* form = nullptr;
    TCoolForm* skin = nullptr;
};

} // namespace

TEST_F(CoolFormTest, PlacedOnAFormItFillsItBorderlessAtZero)
{
    EXPECT_NE(GetWindowLongA(form->Handle(), GWL_STYLE) & WS_CAPTION, 0);
    Skin();
    const LONG style = GetWindowLongA(form->Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0) << "borderless";
    skin->SetTop(40);
    skin->SetLeft(10);
    skin->SetWidth(30);
    skin->SetHeight(500);
    EXPECT_EQ(skin->top(), 0);
    EXPECT_EQ(skin->left(), 0);
    EXPECT_EQ(skin->width(), 475);
    EXPECT_EQ(skin->height(), 265);
    EXPECT_TRUE(skin->Draggable);
    EXPECT_EQ(skin->Mask()->Owner(), skin);

    auto* panel = new FramedPanel(form, form);
    const LONG before = GetWindowLongA(panel->Handle(), GWL_STYLE);
    auto* onPanel = new TCoolForm(panel, panel);
    EXPECT_EQ(GetWindowLongA(panel->Handle(), GWL_STYLE), before) << "a control's frame is left alone";
    EXPECT_EQ(onPanel->width(), 98);
}

TEST_F(CoolFormTest, ReadMaskAppliesWhatItReadsAndWriteMaskGivesItBack)
{
    struct Case {
        const char* what;
        std::vector<std::uint8_t> payload;
        bool outline;
    };
    const std::vector<std::uint8_t> whole = CompactPayload();
    std::vector<std::uint8_t> refused = whole;
    refused[12] ^= 0x40; // a rectangle count the bytes do not hold
    const Case cases[] = {
        {"four zero bytes", {0, 0, 0, 0}, false},
        {"the compact window's outline", whole, true},
        {"a payload shorter than its count", {whole.begin(), whole.end() - 16}, false},
        {"region data that does not fit its bytes", refused, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* window = new PlainForm(form);
        auto* s = new TCoolForm(window, window);
        TByteStream in(c.payload.data(), c.payload.size());
        s->ReadMask(in);
        const auto shape = WindowRegionData(window->Handle());
        TByteStream out;
        s->WriteMask(out);
        if (c.outline) {
            EXPECT_EQ(shape, std::vector<std::uint8_t>(c.payload.begin() + 4, c.payload.end()));
            EXPECT_EQ(out.Bytes(), c.payload);
            EXPECT_NE(s->Mask()->Handle(), nullptr);
        } else {
            EXPECT_TRUE(shape.empty()) << "the window stays rectangular";
            EXPECT_EQ(out.Bytes(), (std::vector<std::uint8_t>{0, 0, 0, 0}));
            EXPECT_EQ(s->Mask()->Handle(), nullptr);
        }
        tk::Form::Free(window);
    }
}

TEST_F(CoolFormTest, DesignModeBuildsTheOutlineWithoutApplyingIt)
{
    Skin()->SetDesigning(true);
    TByteStream in(Mask2, sizeof Mask2);
    skin->ReadMask(in);
    EXPECT_NE(skin->Mask()->Handle(), nullptr);
    EXPECT_FALSE(skin->Mask()->Applied());
    EXPECT_TRUE(WindowRegionData(form->Handle()).empty());
    TByteStream out;
    skin->WriteMask(out);
    EXPECT_EQ(out.Bytes(), CompactPayload());
}

TEST_F(CoolFormTest, APictureChangeForgetsTheRegionButTheWindowKeepsItsShape)
{
    TByteStream in(Mask2, sizeof Mask2);
    Skin()->ReadMask(in);
    const auto shape = WindowRegionData(form->Handle());
    ASSERT_FALSE(shape.empty());
    skin->SetPicture(tk::Bitmap(CreateBitmap(4, 4, 1, 32, nullptr)));
    EXPECT_EQ(skin->Mask()->Handle(), nullptr);
    EXPECT_EQ(WindowRegionData(form->Handle()), shape);
}

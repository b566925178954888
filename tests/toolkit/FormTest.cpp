// Forms and the application object: names set before construction and
// cleared when it fails, the main form, guarded creation and destroy
// handlers, ownership and destruction order, closing, and the loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>

#include "tests/toolkit/AppFixture.h"
#include "toolkit/Button.h"
#include "toolkit/ListView.h"
#include "toolkit/PageControl.h"
#include "toolkit/Timer.h"

namespace {

std::string events;

int CountWindows(const char* className)
{
    int n = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr); w;
         w = FindWindowExA(nullptr, w, className, nullptr))
        ++n;
    return n;
}

class Recorder : public tk::Component {
public:
    Recorder(tk::Component* owner, std::string name) : tk::Component(owner), name_(std::move(name)) {}
    ~Recorder() override { events += "~" + name_ + " "; }

private:
    std::string name_;
};

struct First;
struct Second;
First* FirstForm = nullptr;
Second* SecondForm = nullptr;

struct Behaviour {
    bool throwInConstructor = false;
    bool throwInCreate = false;
    bool throwInDestroy = false;
};

struct LoggedForm : PlainForm {
    LoggedForm(tk::Component* owner, bool (*named)(const LoggedForm*), const char* name, Behaviour b)
        : PlainForm(owner), name_(name), behaviour_(b)
    {
        // The global name already refers to this form while it is being built.
        events += std::string(named(this) ? "named " : "unnamed ") + name_ + " ";
        new Recorder(this, std::string(name_) + ".a");
        new Recorder(this, std::string(name_) + ".b");
        if (b.throwInConstructor)
            throw std::runtime_error("cannot build " + std::string(name_));
    }

protected:
    void FormCreate() override
    {
        events += std::string("create ") + name_ + " ";
        if (behaviour_.throwInCreate)
            throw std::runtime_error("create failed");
        events += std::string("created ") + name_ + " ";
    }
    void FormDestroy() override
    {
        events += std::string("destroy ") + name_ + " ";
        if (behaviour_.throwInDestroy)
            throw std::runtime_error("destroy failed");
        events += std::string("destroyed ") + name_ + " ";
    }

private:
    const char* name_;
    Behaviour behaviour_;
};

// CreateForm constructs with the owner only; these bind the rest.
struct First : LoggedForm {
    static inline Behaviour behaviour;
    explicit First(tk::Component* owner)
        : LoggedForm(owner, [](const LoggedForm* f) { return f == FirstForm; }, "first", behaviour)
    {
    }
};
struct Second : LoggedForm {
    static inline Behaviour behaviour;
    explicit Second(tk::Component* owner)
        : LoggedForm(owner, [](const LoggedForm* f) { return f == SecondForm; }, "second", behaviour)
    {
    }
};

class FormTest : public testing::Test {
protected:
    void SetUp() override
    {
        events.clear();
        First::behaviour = {};
        Second::behaviour = {};
        FirstForm = nullptr;
        SecondForm = nullptr;
    }
};

void CreateBoth(tk::Application& app)
{
    app.CreateForm(FirstForm);
    app.CreateForm(SecondForm);
}

TEST_F(FormTest, FormsAreNamedFromTheStartAndFreedNewestFirst)
{
    {
        tk::Application app;
        CreateBoth(app);
        EXPECT_EQ(app.MainForm(), FirstForm);
        EXPECT_EQ(GetWindow(SecondForm->Handle(), GW_OWNER), FirstForm->Handle());
        EXPECT_FALSE(IsWindowVisible(FirstForm->Handle()));
        events += "| ";
    }
    EXPECT_EQ(events, "named first create first created first named second create second created second | "
                      "destroy second destroyed second ~second.b ~second.a "
                      "destroy first destroyed first ~first.b ~first.a ");
    EXPECT_EQ(tk::TheApplication, nullptr);
}

TEST_F(FormTest, AFailedConstructionClearsTheNameAndPassesTheErrorOn)
{
    tk::Application app;
    std::vector<CapturedBox> boxes;
    app.SetErrorBoxHook([&](const std::string& c, const std::string& t) { boxes.push_back({c, t}); });
    Second::behaviour.throwInConstructor = true;
    app.CreateForm(FirstForm);
    EXPECT_THROW(app.CreateForm(SecondForm), std::runtime_error);
    EXPECT_EQ(SecondForm, nullptr);
    EXPECT_EQ(app.Owned().size(), 1u) << "the failed form left its owner";
    EXPECT_EQ(events, "named first create first created first named second ~second.b ~second.a ");
    EXPECT_TRUE(boxes.empty()) << "the caller decides how a failed construction is reported";
    EXPECT_EQ(CountWindows("TkTestForm"), 1) << "the failed form's window is gone";
}

// A form whose window procedure throws on a message its constructor sends.
struct Fragile : PlainForm {
    static constexpr UINT kLayout = WM_APP + 7;
    explicit Fragile(tk::Component* owner) : PlainForm(owner)
    {
        SendMessageA(Handle(), kLayout, 0, 0);
        events += "built ";
    }
    ~Fragile() override { events += "~fragile "; }
    void FormCreate() override { events += "create "; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kLayout)
            throw std::runtime_error("Bad layout");
        return PlainForm::WindowProc(message, wParam, lParam);
    }
};

// A window procedure that throws while the form is being built fails the
// construction like an error of the constructor itself.
TEST_F(FormTest, AWindowProcedureErrorWhileTheFormIsBuiltFailsItsConstruction)
{
    tk::Application app;
    std::vector<CapturedBox> boxes;
    app.SetErrorBoxHook([&](const std::string& c, const std::string& t) { boxes.push_back({c, t}); });
    Fragile* fragile = nullptr;
    try {
        app.CreateForm(fragile);
        ADD_FAILURE() << "the construction succeeded";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Bad layout");
    }
    EXPECT_EQ(fragile, nullptr);
    EXPECT_EQ(events, "built ~fragile ") << "built, then taken down without its creation handler";
    EXPECT_TRUE(boxes.empty()) << "the caller reports it, once";
    EXPECT_TRUE(app.Owned().empty());
    EXPECT_EQ(app.MainForm(), nullptr);
    EXPECT_EQ(CountWindows("TkTestForm"), 0);
}

TEST_F(FormTest, AnErrorInACreateOrDestroyHandlerIsShownAndTheRestSkipped)
{
    std::vector<CapturedBox> boxes;
    {
        tk::Application app;
        app.SetErrorBoxHook([&](const std::string& c, const std::string& t) { boxes.push_back({c, t}); });
        Second::behaviour.throwInCreate = true;
        Second::behaviour.throwInDestroy = true;
        CreateBoth(app);
        EXPECT_NE(SecondForm, nullptr) << "start-up goes on";
        events += "| ";
    }
    EXPECT_EQ(events, "named first create first created first named second create second | "
                      "destroy second ~second.b ~second.a destroy first destroyed first ~first.b ~first.a ");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "create failed.");
    EXPECT_EQ(boxes[1].text, "destroy failed.");
}

TEST_F(FormTest, ClosingTheMainFormEndsTheLoopAndClosingAnotherHidesIt)
{
    tk::Application app;
    CreateBoth(app);
    SecondForm->Show();
    SecondForm->Close();
    EXPECT_FALSE(IsWindowVisible(SecondForm->Handle()));
    EXPECT_TRUE(IsWindow(SecondForm->Handle()));
    EXPECT_FALSE(app.Terminated());

    // The loop shows the main form and runs until it closes.
    auto* closer = new tk::Timer(FirstForm);
    closer->SetInterval(50);
    bool wasVisible = false;
    closer->SetOnTimer([&](tk::Component*) {
        wasVisible = IsWindowVisible(FirstForm->Handle());
        FirstForm->Close();
    });
    app.Run();
    EXPECT_TRUE(wasVisible);
    EXPECT_TRUE(app.Terminated());
    EXPECT_TRUE(IsWindow(FirstForm->Handle())) << "windows go only when the application does";
}

TEST_F(FormTest, TheFormDestroysItsControlsWindows)
{
    HWND button = nullptr;
    HWND form = nullptr;
    {
        tk::Application app;
        CreateBoth(app);
        button = (new tk::Button(FirstForm, FirstForm, {5, 5, 60, 20}, "OK"))->Handle();
        form = FirstForm->Handle();
        EXPECT_EQ(tk::WinControl::FromHandle(button)->Text(), "OK");
        EXPECT_TRUE(IsWindow(button));
    }
    EXPECT_FALSE(IsWindow(button));
    EXPECT_FALSE(IsWindow(form));
}

TEST_F(FormTest, ABorderlessFormKeepsItsClientSize)
{
    tk::Application app;
    CreateBoth(app);
    FirstForm->SetClientSize(475, 265);
    FirstForm->SetBorderStyle(tk::BorderStyle::None);
    RECT client{}, outer{};
    GetClientRect(FirstForm->Handle(), &client);
    GetWindowRect(FirstForm->Handle(), &outer);
    EXPECT_EQ(client.right, 475);
    EXPECT_EQ(client.bottom, 265);
    EXPECT_EQ(outer.right - outer.left, 475);
    EXPECT_EQ(GetWindowLongA(FirstForm->Handle(), GWL_STYLE) & WS_CAPTION, 0);
    FirstForm->SetBorderStyle(tk::BorderStyle::Sizeable);
    GetClientRect(FirstForm->Handle(), &client);
    EXPECT_EQ(client.right, 475);
    EXPECT_EQ(client.bottom, 265);
    EXPECT_EQ(GetWindowLongA(FirstForm->Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
}

TEST_F(FormTest, AFormToBeCentredIsCentredForTheSizeItHasWhenFirstShown)
{
    tk::Application app;
    CreateBoth(app);
    auto origin = [](tk::Form* form) {
        RECT r{};
        GetWindowRect(form->Handle(), &r);
        const POINT centred{(GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2,
                            (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2};
        return std::pair{POINT{r.left, r.top}, centred};
    };
    FirstForm->SetCenterOnFirstShow(true);
    FirstForm->SetClientSize(300, 200);
    auto [at, centred] = origin(FirstForm);
    EXPECT_EQ(at.x, centred.x) << "sized and placed in one move";
    EXPECT_EQ(at.y, centred.y);
    FirstForm->SetBounds({0, 0, 500, 400});
    FirstForm->Show();
    std::tie(at, centred) = origin(FirstForm);
    EXPECT_EQ(at.x, centred.x) << "placed again for its new size";
    EXPECT_EQ(at.y, centred.y);
}

TEST_F(FormTest, PagesAndListsFilledWhileHiddenShowWhatTheyHoldOnceShown)
{
    tk::Application app;
    CreateBoth(app);
    FirstForm->SetClientSize(300, 200);
    auto* pages = new tk::PageControl(FirstForm, FirstForm, {0, 0, 300, 200});
    auto* first = new tk::TabSheet(FirstForm, pages, "One");
    auto* second = new tk::TabSheet(FirstForm, pages, "Two");
    auto* list = new tk::ListView(FirstForm, second, {0, 0, 200, 100}, true);
    list->AddColumn("Row", 100);
    list->SetCellSource([](int row, int) { return std::to_string(row); });
    list->SetRowCount(200);
    EXPECT_EQ(list->RowCount(), 200) << "a hidden list still counts its rows";
    auto shown = [](tk::WinControl* c) { return (GetWindowLongA(c->Handle(), GWL_STYLE) & WS_VISIBLE) != 0; };
    EXPECT_TRUE(shown(first));
    EXPECT_FALSE(shown(second));
    FirstForm->Show();
    pages->SetActivePageIndex(1);
    EXPECT_FALSE(shown(first));
    EXPECT_TRUE(list->Visible());
    EXPECT_TRUE(GetWindowLongA(list->Handle(), GWL_STYLE) & WS_VSCROLL) << "the scroll bar caught up";
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_RANGE;
    GetScrollInfo(list->Handle(), SB_VERT, &scroll);
    EXPECT_EQ(scroll.nMax, 199);
}

} // namespace

// The driver against a program of known content (DriverTarget.exe): finding
// controls, reading texts and list-view rows across processes, clicking,
// message boxes and their icons, exit codes and screenshots.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/driver/Driver.h"

using namespace std::chrono_literals;
using namespace zvdrive;

namespace {

class DriverTest : public testing::Test {
protected:
    void SetUp() override
    {
        program = std::make_unique<Program>(BuildFile("tests/driver/DriverTarget.exe"));
        window = WaitForWindow(program->Pid(), "TDriverTarget", 10s);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5s));
    }

    std::unique_ptr<Program> program;
    HWND window = nullptr;
};

TEST_F(DriverTest, FindsControlsByNameAndByText)
{
    HWND status = FindNamedControl(window, "lbStatus");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(TextOf(status), "ready");
    EXPECT_EQ(FindControl(window, "Button", "Add row"), FindNamedControl(window, "btnAdd"));
    EXPECT_EQ(FindNamedControl(window, "nothing"), nullptr);
    EXPECT_EQ(FindControl(window, "Button", "Nothing"), nullptr);
    EXPECT_EQ(NameOf(FindNamedControl(window, "lvRows")), "lvRows");
}

TEST_F(DriverTest, ReadsListViewRowsAcrossTheProcessBoundary)
{
    HWND list = FindNamedControl(window, "lvRows");
    ASSERT_NE(list, nullptr);
    auto rows = ListViewRows(list, 3);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "localhost", "0 ms"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"2", std::string(300, 'x'), ""}));
    EXPECT_EQ(ListViewCell(list, 5, 0), "") << "a row that does not exist reads empty";
}

TEST_F(DriverTest, ClicksButtonsAndSeesTheResult)
{
    HWND list = FindNamedControl(window, "lvRows");
    Click(FindNamedControl(window, "btnAdd"));
    Click(FindNamedControl(window, "btnAdd"));
    ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 4; }, 5s));
    EXPECT_EQ(ListViewRows(list, 3)[3], (std::vector<std::string>{"4", "host 4", "40 ms"}));
    EXPECT_EQ(TextOf(FindNamedControl(window, "lbStatus")), "rows: 4");
}

TEST_F(DriverTest, ClicksWindowlessControlsAtAPoint)
{
    ClickAt(window, 20, 45);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(FindNamedControl(window, "lbStatus")) == "spot clicked"; }, 5s));
}

TEST_F(DriverTest, ReadsWindowlessControlsByName)
{
    auto spot = FindGraphic(window, "lbSpot");
    ASSERT_TRUE(spot.has_value());
    EXPECT_EQ(spot->host, window);
    EXPECT_EQ(spot->text, "hot spot");
    EXPECT_EQ(spot->bounds.left, 10);
    EXPECT_EQ(spot->bounds.top, 40);
    EXPECT_EQ(spot->bounds.right, 110);
    EXPECT_EQ(spot->bounds.bottom, 60);
    EXPECT_TRUE(spot->visible);
    EXPECT_TRUE(spot->enabled);

    auto hidden = FindGraphic(window, "lbHidden");
    ASSERT_TRUE(hidden.has_value());
    EXPECT_FALSE(hidden->visible);
    EXPECT_EQ(hidden->text, "not shown");

    auto inner = FindGraphic(window, "lbInner");
    ASSERT_TRUE(inner.has_value()) << "found on a window inside the form";
    EXPECT_EQ(ClassOf(inner->host), "TDriverPanel");
    EXPECT_EQ(inner->text, "inside");

    EXPECT_FALSE(FindGraphic(window, "lbNothing").has_value());
    EXPECT_FALSE(FindGraphic(window, "btnAdd").has_value()) << "a windowed control is no windowless one";
}

TEST_F(DriverTest, ClicksWindowlessControlsByName)
{
    HWND status = FindNamedControl(window, "lbStatus");
    ASSERT_TRUE(ClickGraphic(window, "lbInner"));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(status) == "inner clicked"; }, 5s));
    ASSERT_TRUE(ClickGraphic(window, "lbSpot"));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(status) == "spot clicked"; }, 5s));
    EXPECT_FALSE(ClickGraphic(window, "lbNothing"));
}

TEST_F(DriverTest, ReadsMessageBoxesAndTellsTheirIconsApart)
{
    struct Case {
        const char* button;
        const char* text;
        BoxIcon icon;
    };
    const Case cases[] = {{"Warn", "Careful now", BoxIcon::Warning}, {"Info", "Just so you know", BoxIcon::Information}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        EXPECT_TRUE(MessageBoxes(program->Pid()).empty());
        Click(FindControl(window, "Button", c.button));
        auto box = WaitForMessageBox(program->Pid(), 5s);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->title, "Target");
        EXPECT_EQ(box->text, c.text);
        EXPECT_EQ(box->icon, c.icon) << ToString(box->icon);
        EXPECT_EQ(box->buttons, std::vector<std::string>{"OK"});
        EXPECT_TRUE(PressOk(box->window));
    }
    EXPECT_FALSE(WaitForMessageBox(program->Pid(), 200ms).has_value());
}

TEST_F(DriverTest, ReadsTheExitCode)
{
    EXPECT_FALSE(program->WaitForExit(100ms).has_value());
    Close(window);
    auto code = program->WaitForExit(10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 7u);
}

TEST_F(DriverTest, TakesAScreenshotIntoTheBuildTree)
{
    std::string file = Screenshot("driver-target");
    ASSERT_FALSE(file.empty());
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(WindowsPath(file).c_str(), GetFileExInfoStandard, &data));
    EXPECT_GT(data.nFileSizeLow, 1000u) << "a PNG with a window on it";
}

} // namespace

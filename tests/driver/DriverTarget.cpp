// A small toolkit program for the driver's own tests: named controls, a list
// view, message boxes with different icons, windowless labels on the form and
// on a panel, and a known exit code.
#include <windows.h>

#include <string>

#include "toolkit/Application.h"
#include "toolkit/Button.h"
#include "toolkit/CustomControl.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/ListView.h"
#include "toolkit/MessageBox.h"
#include "toolkit/StaticText.h"

namespace {

// A plain child window that windowless controls can be drawn on.
class TDriverPanel : public tk::CustomControl {
public:
    TDriverPanel(tk::Component* owner, tk::WinControl* parent, tk::Rect bounds) : tk::CustomControl(owner, parent)
    {
        CreateCustom("TDriverPanel", "", WS_CHILD | WS_VISIBLE, 0, bounds, parent->Handle());
    }
};

class TDriverTarget : public tk::Form {
public:
    explicit TDriverTarget(tk::Component* owner) : tk::Form(owner, "TDriverTarget")
    {
        SetClientSize(400, 300);
        status_ = new tk::StaticText(this, this, {10, 10, 200, 16}, "ready");
        status_->SetName("lbStatus");
        auto* add = new tk::Button(this, this, {220, 8, 80, 24}, "Add row");
        add->SetName("btnAdd");
        add->OnClick = [this](tk::Component*) { AddRow(); };
        auto* warn = new tk::Button(this, this, {310, 8, 80, 24}, "Warn");
        warn->OnClick = [this](tk::Component*) {
            tk::ShowMessageBox(Handle(), "Careful now", "Target", MB_OK | MB_ICONWARNING);
        };
        auto* info = new tk::Button(this, this, {310, 40, 80, 24}, "Info");
        info->OnClick = [this](tk::Component*) {
            tk::ShowMessageBox(Handle(), "Just so you know", "Target", MB_OK | MB_ICONINFORMATION);
        };
        auto* spot = new tk::Label(this, this, {10, 40, 100, 20}, "hot spot");
        spot->SetName("lbSpot");
        spot->OnClick = [this](tk::Component*) { status_->SetText("spot clicked"); };
        auto* hidden = new tk::Label(this, this, {120, 40, 60, 20}, "not shown");
        hidden->SetName("lbHidden");
        hidden->SetVisible(false);
        auto* panel = new TDriverPanel(this, this, {200, 36, 100, 30});
        auto* inner = new tk::Label(this, panel, {5, 5, 90, 20}, "inside");
        inner->SetName("lbInner");
        inner->OnClick = [this](tk::Component*) { status_->SetText("inner clicked"); };
        rows_ = new tk::ListView(this, this, {10, 70, 380, 220});
        rows_->SetName("lvRows");
        rows_->AddColumn("No", 40);
        rows_->AddColumn("Host", 200);
        rows_->AddColumn("Time", 100);
        rows_->AddRow({"1", "localhost", "0 ms"});
        rows_->AddRow({"2", std::string(300, 'x'), ""});
    }

private:
    void AddRow()
    {
        int n = rows_->RowCount() + 1;
        rows_->AddRow({std::to_string(n), "host " + std::to_string(n), std::to_string(n * 10) + " ms"});
        status_->SetText("rows: " + std::to_string(rows_->RowCount()));
    }

    tk::StaticText* status_;
    tk::ListView* rows_;
};

TDriverTarget* Target = nullptr;

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    tk::Application application;
    application.CreateForm(Target);
    application.Run();
    return 7;
}

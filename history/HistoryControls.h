// The History window's small controls: a windowless text drawn from UTF-8
// (its figures carry "≈", which the ANSI code page may lack), the common
// controls' date picker and progress bar, and the outage list, whose
// double click names a row. GUI thread only.
#pragma once

#include <functional>
#include <string>

#include "toolkit/GraphicControl.h"
#include "toolkit/ListView.h"
#include "toolkit/WinControl.h"

class THistoryText : public tk::GraphicControl {
public:
    THistoryText(tk::Component* owner, tk::CustomControl* parent, tk::Rect bounds);
    // Lines split by CR LF; UTF-8.
    void SetText(std::string utf8);
    std::string Caption() const override { return text_; }
    // Borrowed: the form keeps it.
    void SetFont(HFONT font) { font_ = font; }
    void Paint(HDC dc) override;

private:
    std::string text_;
    HFONT font_ = nullptr;
};

class THistoryDatePicker : public tk::WinControl {
public:
    THistoryDatePicker(tk::Component* owner, tk::WinControl* parent, tk::Rect bounds);
    LRESULT Notify(NMHDR& header) override;
    // A day was picked: its local date.
    std::function<void(const SYSTEMTIME& day)> OnChange;
};

class THistoryProgress : public tk::WinControl {
public:
    THistoryProgress(tk::Component* owner, tk::WinControl* parent, tk::Rect bounds);
    void SetRange(int steps);
    void SetPosition(int step);
};

class THistoryOutageList : public tk::ListView {
public:
    THistoryOutageList(tk::Component* owner, tk::WinControl* parent, tk::Rect bounds);
    LRESULT Notify(NMHDR& header) override;
    std::function<void(int row)> OnDoubleClick;
};

// ComboBox: an editable standard combo box with a drop-down list. It keeps
// a copy of its items, so reading the list costs no messages. OnChange runs
// when the user edits the text or picks an item, never for the program's
// own changes. GUI thread only.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Events.h"
#include "toolkit/WinControl.h"

namespace tk {

class ComboBox : public WinControl {
public:
    // `bounds.height` is the edit part's; the list drops below it.
    ComboBox(Component* owner, WinControl* parent, Rect bounds, int dropDownHeight = 160);

    const std::vector<std::string>& Items() const { return items_; }
    // Replaces all items at once; quick also for a hundred thousand.
    void SetItems(std::vector<std::string> items);
    void InsertItem(int index, const std::string& text);
    void DeleteItem(int index);
    int ItemIndex() const;
    // Selects an item, which makes it the text.
    void SetItemIndex(int index);
    void SetText(const std::string& text);

    void Command(unsigned code) override;
    void ApplyScale() override;

    NotifyEvent OnChange;

private:
    void Changed();
    void FitClosedHeight();

    std::vector<std::string> items_;
    int programChanges_ = 0;
    Rect closed_; // design bounds of the edit part
};

// Makes a closed combo box `height` pixels high. The system sizes it from
// its font, which does not follow the design heights at every DPI.
void SetClosedHeight(HWND combo, int height);

} // namespace tk

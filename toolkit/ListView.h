// ListView: a report-style list view, one row per item, one text per column,
// with grid lines and whole-row selection; its cells are not edited in place.
// With owner data it keeps no texts: it asks a cell source for each cell it
// shows, so long lists cost only what their owner stores.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Label.h"
#include "toolkit/WinControl.h"

namespace tk {

class ListView : public WinControl {
public:
    // Rows: several rows may be selected, as row commands need. Chosen at
    // creation, since a later change of style lays the list out again.
    enum class Selection { OneRow, Rows };
    ListView(Component* owner, WinControl* parent, Rect bounds, bool ownerData = false,
             Selection selection = Selection::OneRow);

    // The first column is always left-aligned (a rule of the list view).
    void AddColumn(const std::string& caption, int width, Alignment alignment = Alignment::Left);
    // Appends a row; cells beyond the columns are ignored. Returns its index.
    int AddRow(const std::vector<std::string>& cells);
    // Inserts a row before `index` (0: at the top). Returns its index.
    int InsertRow(int index, const std::vector<std::string>& cells);
    void SetCell(int row, int column, const std::string& text);
    std::string Cell(int row, int column) const;
    void Clear();
    int RowCount() const;
    int ColumnCount() const { return columns_; }

    // Owner data only: the rows shown, and where their texts come from.
    using CellSource = std::function<std::string(int row, int column)>;
    void SetCellSource(CellSource source) { source_ = std::move(source); }
    void SetRowCount(int rows);

    LRESULT Notify(NMHDR& header) override;
    void AncestorShown() override;
    // The columns' widths too.
    void ApplyScale() override;

    // Row commands (ListViewCommands.cpp): selecting several rows with Shift
    // and Ctrl, Ctrl+A for all, Ctrl+C through the copy action, and a context
    // menu on right click, the menu key and Shift+F10. Off until enabled.
    struct MenuItem {
        std::wstring Caption;
        std::function<void()> Action;
    };
    void EnableRowCommands(std::vector<MenuItem> menu, std::function<void()> copy);
    // Ascending.
    std::vector<int> SelectedRows() const;
    void SelectAll();
    std::vector<std::string> Captions() const;
    // What the cell shows: the cell source's text with owner data.
    std::string ShownCell(int row, int column) const;
    // Owner data: `count` rows went in at the top and the list now holds
    // `rowCount`; the selection, the focus and the Shift anchor stay on
    // their rows.
    void SetRowCountAddedAtTop(int count, int rowCount);

protected:
    LRESULT SubclassProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Column `index`'s width in pixels: its edges scaled, like a control's.
    int ScaledColumnWidth(int index) const;
    void ShowMenu(POINT screen);
    bool RowCommandKey(UINT message, WPARAM key);

    int columns_ = 0;
    std::vector<int> designWidths_;
    CellSource source_;
    std::vector<MenuItem> menu_;
    std::function<void()> copy_;
    bool menuKeyDown_ = false;
    bool frozen_ = false; // redraw off while out of sight
};

} // namespace tk

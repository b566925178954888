// ListView: a report-style list view, one row per item, one text per column,
// with grid lines and whole-row selection; its cells are not edited in place.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Label.h"
#include "toolkit/WinControl.h"

namespace tk {

class ListView : public WinControl {
public:
    ListView(Component* owner, WinControl* parent, Rect bounds);

    // The first column is always left-aligned (a rule of the list view).
    void AddColumn(const std::string& caption, int width, Alignment alignment = Alignment::Left);
    // Appends a row; cells beyond the columns are ignored. Returns its index.
    int AddRow(const std::vector<std::string>& cells);
    // Inserts a row before `index` (0: at the top). Returns its index.
    int InsertRow(int index, const std::vector<std::string>& cells);
    void SetCell(int row, int column, const std::string& text);
    std::string Cell(int row, int column) const;
    void DeleteRow(int row);
    void Clear();
    int RowCount() const;
    int ColumnCount() const { return columns_; }

private:
    int columns_ = 0;
};

} // namespace tk
